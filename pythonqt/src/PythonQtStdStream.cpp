#include "PythonQtStdStream.h"

#include "PythonQt.h"
#include "PythonQtObjectPtr.h"
#include "PythonQtPrivateModule.h"

namespace {

// Lone surrogates cannot be UTF-8: they are shown escaped, as Python's own stderr does.
QString textOf(PyObject* unicode)
{
#if PY_VERSION_HEX < 0x030C0000
    if (PyUnicode_READY(unicode) < 0)
        return QString();
#endif
    // One byte per character is Latin-1, the common case of a flood of output.
    if (PyUnicode_KIND(unicode) == PyUnicode_1BYTE_KIND)
        return QString::fromLatin1(reinterpret_cast<const char*>(PyUnicode_1BYTE_DATA(unicode)),
                                   PyUnicode_GET_LENGTH(unicode));
    Py_ssize_t size = 0;
    if (const char* utf8 = PyUnicode_AsUTF8AndSize(unicode, &size))
        return QString::fromUtf8(utf8, size);
    if (!PyErr_ExceptionMatches(PyExc_UnicodeEncodeError))
        return QString();
    PyErr_Clear();
    PythonQtObjectPtr escaped;
    if (!escaped.setNewRef(PyUnicode_AsEncodedString(unicode, "utf-8", "backslashreplace")))
        return QString();
    return QString::fromUtf8(PyBytes_AS_STRING(escaped.object()), PyBytes_GET_SIZE(escaped.object()));
}

// The stream's write(): self is the channel number.
PyObject* emitText(PyObject* self, PyObject* text)
{
    if (!PyUnicode_Check(text)) {
        PyErr_Format(PyExc_TypeError, "write() argument must be str, not %.200s", Py_TYPE(text)->tp_name);
        return nullptr;
    }
    const QString converted = textOf(text);
    if (PyErr_Occurred())
        return nullptr;
    if (PythonQt* pythonQt = PythonQt::self()) {
        if (PyLong_AsLong(self) == PythonQtStdStream::StdErr)
            emit pythonQt->pythonStdErr(converted);
        else
            emit pythonQt->pythonStdOut(converted);
    }
    return PyLong_FromSsize_t(PyUnicode_GetLength(text));
}

PyMethodDef emitTextDef = {"write", emitText, METH_O, "Writes text to the host's console or log; returns its length."};

} // namespace

PyObject* PythonQtStdStream::create(Channel channel)
{
    PythonQtObjectPtr number;
    PythonQtObjectPtr write;
    if (!number.setNewRef(PyLong_FromLong(channel)) || !write.setNewRef(PyCFunction_New(&emitTextDef, number)))
        return nullptr;
    const bool err = channel == StdErr;
    PythonQtObjectPtr arguments;
    if (!arguments.setNewRef(Py_BuildValue("(Osi)", write.object(), err ? "<stderr>" : "<stdout>", err ? 2 : 1)))
        return nullptr;
    return PythonQtPrivateModule::call("OutputStream", arguments);
}
