#include "PythonQtStdStream.h"

#include "PythonQt.h"
#include "PythonQtObjectPtr.h"
#include "PythonQtPrivateModule.h"

namespace {

// Lone surrogates cannot be UTF-8: they are shown escaped, as Python's own stderr does.
QString textOf(PyObject* unicode)
{
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

// self is the channel number; the stream has checked that text is a str.
PyObject* emitText(PyObject* self, PyObject* text)
{
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

PyMethodDef emitTextDef = {"emit_text", emitText, METH_O, "Hands text to the host."};

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
