#include "PythonQtConsoleStdin.h"

#include "PythonQtConsoleRun.h"
#include "PythonQtPrivateModule.h"

#include <QString>

namespace {

PyObject* readConsoleLine(PyObject*, PyObject*)
{
    QString line;
    if (!PythonQtConsoleRun::readLine(line))
        return nullptr;
    const QByteArray utf8 = line.toUtf8();
    return PyUnicode_DecodeUTF8(utf8.constData(), utf8.size(), "replace");
}

PyMethodDef readLineDef = {"read_console_line", readConsoleLine, METH_NOARGS, "Waits for a line typed into the console."};

// The result of a call of the private module, a new reference or null with no error left.
PyObject* cleared(PyObject* result)
{
    if (!result)
        PyErr_Clear();
    return result;
}

} // namespace

void PythonQtConsoleStdin::setUpInteractive(const char* primaryPrompt, const char* continuationPrompt)
{
    PyObject* arguments = Py_BuildValue("(ss)", primaryPrompt, continuationPrompt);
    Py_XDECREF(cleared(arguments ? PythonQtPrivateModule::call("set_up_interactive", arguments) : nullptr));
    Py_XDECREF(arguments);
}

PyObject* PythonQtConsoleStdin::create()
{
    PyObject* readLine = PyCFunction_New(&readLineDef, nullptr);
    PyObject* arguments = readLine ? PyTuple_Pack(1, readLine) : nullptr;
    PyObject* stream = cleared(arguments ? PythonQtPrivateModule::call("ConsoleInput", arguments) : nullptr);
    Py_XDECREF(arguments);
    Py_XDECREF(readLine);
    return stream;
}
