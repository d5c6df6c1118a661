#include "python/PythonInclude.h"

#include "engine/PendingErrorPrinter.h"

#include "python/PyObjectPtr.h"
#include "python/PyStringConversion.h"

namespace {

QString summaryLine(PyObject* type, PyObject* value)
{
    const QString name = type && PyExceptionClass_Check(type) ? QString::fromUtf8(PyExceptionClass_Name(type))
                                                             : QStringLiteral("Exception");
    const PyObjectPtr text(value ? PyObject_Str(value) : nullptr, false);
    if (!text.object())
        PyErr_Clear();
    const QString message = toQString(text.object());
    return message.isEmpty() ? name : name + QStringLiteral(": ") + message;
}

} // namespace

QString printPendingError()
{
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    const PyObjectPtr ownedType(type, false);
    const PyObjectPtr ownedValue(value, false);
    const PyObjectPtr ownedTraceback(traceback, false);
    if (value && traceback)
        PyException_SetTraceback(value, traceback);
    const QString summary = summaryLine(type, value);
    // PyErr_Print ends the process on SystemExit; that one is displayed directly.
    if (PyErr_GivenExceptionMatches(type, PyExc_SystemExit)) {
        PyErr_Display(type, value, traceback);
    } else {
        Py_XINCREF(type);
        Py_XINCREF(value);
        Py_XINCREF(traceback);
        PyErr_Restore(type, value, traceback);
        PyErr_Print();
    }
    PyErr_Clear();
    return summary;
}
