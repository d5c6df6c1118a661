#include "PythonQtStdStream.h"

#include "PythonQt.h"
#include "PythonQtHeapType.h"
#include "PythonQtObjectPtr.h"

namespace {

struct StreamObject
{
    PyObject_HEAD
    int channel;
};

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

PyObject* streamWrite(PyObject* self, PyObject* arg)
{
    if (!PyUnicode_Check(arg)) {
        PyErr_Format(PyExc_TypeError, "write() argument must be str, not %s", Py_TYPE(arg)->tp_name);
        return nullptr;
    }
    const QString text = textOf(arg);
    if (PyErr_Occurred())
        return nullptr;
    if (PythonQt* pythonQt = PythonQt::self()) {
        if (reinterpret_cast<StreamObject*>(self)->channel == PythonQtStdStream::StdErr)
            emit pythonQt->pythonStdErr(text);
        else
            emit pythonQt->pythonStdOut(text);
    }
    return PyLong_FromSsize_t(PyUnicode_GetLength(arg));
}

PyObject* streamNone(PyObject*, PyObject*)
{
    Py_RETURN_NONE;
}

PyObject* streamFalse(PyObject*, PyObject*)
{
    Py_RETURN_FALSE;
}

PyObject* streamTrue(PyObject*, PyObject*)
{
    Py_RETURN_TRUE;
}

PyObject* streamEncoding(PyObject*, void*)
{
    return PyUnicode_FromString("utf-8");
}

PyObject* streamErrors(PyObject*, void*)
{
    return PyUnicode_FromString("backslashreplace");
}

PyObject* streamClosed(PyObject*, void*)
{
    Py_RETURN_FALSE;
}

PyMethodDef streamMethods[] = {
    {"write", streamWrite, METH_O, "Writes text to the host."},
    {"flush", streamNone, METH_NOARGS, "Nothing is buffered."},
    {"isatty", streamFalse, METH_NOARGS, "Never a terminal."},
    {"writable", streamTrue, METH_NOARGS, "Always writable."},
    {"readable", streamFalse, METH_NOARGS, "Never readable."},
    {"seekable", streamFalse, METH_NOARGS, "Never seekable."},
    {nullptr, nullptr, 0, nullptr},
};

PyGetSetDef streamGetSets[] = {
    {"encoding", streamEncoding, nullptr, "Always utf-8.", nullptr},
    {"errors", streamErrors, nullptr, "Error handler name.", nullptr},
    {"closed", streamClosed, nullptr, "Never closed.", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot streamSlots[] = {
    {Py_tp_methods, streamMethods},
    {Py_tp_getset, streamGetSets},
    {Py_tp_dealloc, reinterpret_cast<void*>(&PythonQtHeapType::free)},
    {0, nullptr},
};

PyType_Spec streamSpec = {"PythonQt.OutputStream", sizeof(StreamObject), 0, Py_TPFLAGS_DEFAULT, streamSlots};

PythonQtHeapType streamType(streamSpec);

} // namespace

PyObject* PythonQtStdStream::create(Channel channel)
{
    PyObject* stream = streamType.alloc();
    if (stream)
        reinterpret_cast<StreamObject*>(stream)->channel = channel;
    return stream;
}
