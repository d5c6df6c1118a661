#include <PythonQtPython.h>

#include "python/PyStringConversion.h"

#include <PythonQtThreadSupport.h>

PyObjectPtr toPyString(const QString& text)
{
    PythonQtGILScope lock;
    // Native byte order; a leading byte-order mark is consumed.
    PyObject* string = PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(text.utf16()),
                                             2 * text.size(), nullptr, nullptr);
    return PyObjectPtr(string, false);
}

QString toQString(PyObject* object)
{
    PythonQtGILScope lock;
    if (!object || !PyUnicode_Check(object))
        return QString();
    const char* buffer = PyUnicode_AsUTF8(object);
    return buffer ? QString::fromUtf8(buffer) : QString();
}

bool isCompilableSource(const QByteArray& source)
{
    if (!source.contains('\0'))
        return true;
    PyErr_SetString(PyExc_SyntaxError, "source code string cannot contain null bytes");
    return false;
}
