#include "PythonQtConsoleCompletion.h"

#include "PythonQt.h"
#include "PythonQtIntrospection.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// Python's keywords, asked once: they are the language's, not the program's.
const QStringList& keywords()
{
    static const QStringList names = [] {
        QStringList found;
        PyObject* module = PyImport_ImportModule("keyword");
        PyObject* list = module ? PyObject_GetAttrString(module, "kwlist") : nullptr;
        const Py_ssize_t size = list && PyList_Check(list) ? PyList_GET_SIZE(list) : 0;
        for (Py_ssize_t index = 0; index < size; ++index) {
            if (const char* utf8 = PyUnicode_AsUTF8(PyList_GET_ITEM(list, index)))
                found << QString::fromUtf8(utf8);
        }
        Py_XDECREF(list);
        Py_XDECREF(module);
        PyErr_Clear();
        return found;
    }();
    return names;
}

QStringList bareNames(PyObject* context, const QString& prefix)
{
    QStringList names = PythonQtIntrospection::names(context, PythonQt::Anything, prefix);
    names += PythonQtIntrospection::names(PyEval_GetBuiltins(), PythonQt::Anything, prefix);
    names += keywords();
    return names;
}

} // namespace

QString PythonQtConsoleCompletion::dottedNameBefore(const QString& text)
{
    static const QRegularExpression dottedName(QStringLiteral("(?:[A-Za-z_]\\w*\\.)*[A-Za-z_]?\\w*$"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = dottedName.match(text);
    if (!match.hasMatch())
        return QString();
    const QString name = match.captured();
    // "1.5" or "x1" after a digit run is a number, not a name.
    const qsizetype start = match.capturedStart();
    if (name.isEmpty() || name.at(0).isDigit() || (start > 0 && text.at(start - 1).isDigit()))
        return QString();
    return name;
}

QStringList PythonQtConsoleCompletion::candidates(PyObject* context, const QString& dottedName)
{
    if (!context || dottedName.isEmpty())
        return {};
    const qsizetype lastDot = dottedName.lastIndexOf(QLatin1Char('.'));
    const QString prefix = dottedName.mid(lastDot + 1);
    QStringList names;
    if (lastDot < 0) {
        names = bareNames(context, prefix);
    } else if (PyObject* object = PythonQtIntrospection::resolve(context, dottedName.left(lastDot))) {
        names = PythonQtIntrospection::names(object, PythonQt::Anything, prefix);
        Py_DECREF(object);
    }
    PyErr_Clear();
    QStringList matching;
    for (const QString& name : std::as_const(names)) {
        if (name.startsWith(prefix))
            matching << name;
    }
    // QStringList::sort()'s order (UTF-16 code units), compared inline: a library's names
    // number tens of thousands.
    std::sort(matching.begin(), matching.end(), [](const QString& a, const QString& b) {
        const auto* left = reinterpret_cast<const char16_t*>(a.constData());
        const auto* right = reinterpret_cast<const char16_t*>(b.constData());
        return std::lexicographical_compare(left, left + a.size(), right, right + b.size());
    });
    matching.erase(std::unique(matching.begin(), matching.end()), matching.end());
    return matching;
}
