#include "PythonQtErrors.h"

#include "PythonQtPrivateModule.h"

namespace {

// The pending exception, taken out of the error state with its traceback attached to it.
struct TakenError
{
    TakenError()
    {
#if PY_VERSION_HEX >= 0x030C0000
        value = PyErr_GetRaisedException();
        if (value) {
            type = reinterpret_cast<PyObject*>(Py_TYPE(value));
            Py_INCREF(type);
            traceback = PyException_GetTraceback(value);
        }
#else
        PyErr_Fetch(&type, &value, &traceback);
        PyErr_NormalizeException(&type, &value, &traceback);
        if (traceback && value)
            PyException_SetTraceback(value, traceback);
#endif
    }
    // Hands the exception back to the error state.
    void restore()
    {
#if PY_VERSION_HEX >= 0x030C0000
        PyErr_SetRaisedException(value);
        value = nullptr;
#else
        PyErr_Restore(type, value, traceback);
        type = value = traceback = nullptr;
#endif
    }
    ~TakenError()
    {
        Py_XDECREF(type);
        Py_XDECREF(value);
        Py_XDECREF(traceback);
    }
    TakenError(const TakenError&) = delete;
    TakenError& operator=(const TakenError&) = delete;

    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
};

// "Type: message", or the type alone when the message is empty.
QString describe(PyObject* type, PyObject* value)
{
    QString text = QString::fromUtf8(reinterpret_cast<PyTypeObject*>(type)->tp_name);
    PyObject* message = value ? PyObject_Str(value) : nullptr;
    const char* utf8 = message ? PyUnicode_AsUTF8(message) : nullptr;
    if (utf8 && *utf8)
        text += QStringLiteral(": ") + QString::fromUtf8(utf8);
    Py_XDECREF(message);
    PyErr_Clear();
    return text;
}

// As Python prints it, without the frames of the embedding layer's own Python code.
QString formatWithTraceback(PyObject* type, PyObject* value, PyObject* traceback)
{
    PyObject* arguments = Py_BuildValue("(OOO)", type, value ? value : Py_None, traceback ? traceback : Py_None);
    PyObject* joined = arguments ? PythonQtPrivateModule::call("format_exception", arguments) : nullptr;
    const char* utf8 = joined ? PyUnicode_AsUTF8(joined) : nullptr;
    if (!utf8)
        PyErr_Clear();
    const QString text = utf8 ? QString::fromUtf8(utf8) : describe(type, value) + QLatin1Char('\n');
    Py_XDECREF(joined);
    Py_XDECREF(arguments);
    PyErr_Clear();
    return text;
}

} // namespace

QString PythonQtErrors::printAndClear()
{
    if (!PyErr_Occurred())
        return QString();
    TakenError error;
    const QString summary = describe(error.type, error.value);
    if (PyErr_GivenExceptionMatches(error.type, PyExc_SystemExit)) {
#if PY_VERSION_HEX >= 0x030C0000
        PyErr_DisplayException(error.value);
#else
        PyErr_Display(error.type, error.value, error.traceback);
#endif
    } else {
        error.restore();
        PyErr_Print();
    }
    PyErr_Clear();
    return summary;
}

void PythonQtErrors::set(PyObject* type, const QString& text)
{
    PyErr_SetString(type, text.toUtf8().constData());
}

QString PythonQtErrors::takeFormatted()
{
    if (!PyErr_Occurred())
        return QString();
    const TakenError error;
    return formatWithTraceback(error.type, error.value, error.traceback);
}
