#include "PythonQtConsoleCompletion.h"

#include "PythonQt.h"
#include "PythonQtIntrospection.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <bitset>

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

// names followed by those of more that it lacks, each once.
void appendMissing(QStringList& names, const QStringList& more)
{
    if (more.isEmpty())
        return;
    const QSet<QString> wanted(more.cbegin(), more.cend());
    // A library's names are many: only those as long as a wanted one are looked for.
    std::bitset<64> lengths;
    for (const QString& name : more)
        lengths.set(size_t(std::min<qsizetype>(name.size(), 63)));
    QSet<QString> present;
    for (const QString& name : std::as_const(names)) {
        if (lengths.test(size_t(std::min<qsizetype>(name.size(), 63))) && wanted.contains(name))
            present.insert(name);
    }
    for (const QString& name : more) {
        if (!present.contains(name)) {
            present.insert(name);
            names.append(name);
        }
    }
}

QStringList bareNames(PyObject* context, const QString& prefix, const QStringList& known)
{
    QStringList names = PythonQtIntrospection::names(context, PythonQt::Anything, prefix, known);
    // Builtins and keywords the program shadows are offered once; known lists them after the
    // program's names.
    QStringList more = PythonQtIntrospection::names(PyEval_GetBuiltins(), PythonQt::Anything, prefix,
                                                    known.mid(names.size()));
    for (const QString& keyword : keywords()) {
        if (keyword.startsWith(prefix))
            more.append(keyword);
    }
    appendMissing(names, more);
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

QStringList PythonQtConsoleCompletion::candidates(PyObject* context, const QString& dottedName, const QStringList& known)
{
    if (!context || dottedName.isEmpty())
        return {};
    const qsizetype lastDot = dottedName.lastIndexOf(QLatin1Char('.'));
    const QString prefix = dottedName.mid(lastDot + 1);
    QStringList names;
    if (lastDot < 0) {
        names = bareNames(context, prefix, known);
    } else if (PyObject* object = PythonQtIntrospection::resolve(context, dottedName.left(lastDot))) {
        names = PythonQtIntrospection::names(object, PythonQt::Anything, prefix, known);
        // dir() sorts what __dir__ gives, which may name an attribute twice.
        names.erase(std::unique(names.begin(), names.end()), names.end());
        Py_DECREF(object);
    }
    PyErr_Clear();
    return names;
}

void PythonQtConsoleCompletion::sortNames(QStringList& names)
{
    // QStringList::sort()'s order (UTF-16 code units), compared inline: a library's names
    // number tens of thousands.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const auto* left = reinterpret_cast<const char16_t*>(a.constData());
        const auto* right = reinterpret_cast<const char16_t*>(b.constData());
        return std::lexicographical_compare(left, left + a.size(), right, right + b.size());
    });
}
