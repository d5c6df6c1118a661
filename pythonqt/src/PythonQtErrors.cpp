#include "PythonQtErrors.h"

void PythonQtErrors::printAndClear()
{
    if (!PyErr_Occurred())
        return;
    if (!PyErr_ExceptionMatches(PyExc_SystemExit)) {
        PyErr_Print();
        return;
    }
#if PY_VERSION_HEX >= 0x030C0000
    PyObject* exception = PyErr_GetRaisedException();
    PyErr_DisplayException(exception);
    Py_XDECREF(exception);
#else
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    if (traceback && value)
        PyException_SetTraceback(value, traceback);
    PyErr_Display(type, value, traceback);
    Py_XDECREF(type);
    Py_XDECREF(value);
    Py_XDECREF(traceback);
#endif
    PyErr_Clear();
}

void PythonQtErrors::set(PyObject* type, const QString& text)
{
    PyErr_SetString(type, text.toUtf8().constData());
}
