#include "PythonQtConsoleStdin.h"

#include "PythonQtConsoleRun.h"
#include "PythonQtThreadStates.h"

#include <QString>

namespace {

// The stream is written in Python so that io's line iteration, readlines() and the text-stream
// checks of input() and pydoc behave as for any text stream.
const char* const consoleModuleSource = R"PY(
import builtins, io

class ConsoleInput(io.TextIOBase):
    """Reads lines typed into the console."""
    encoding = 'utf-8'
    errors = 'strict'

    def __init__(self, read_line):
        self._read_line = read_line

    def readable(self):
        return True

    def isatty(self):
        return False

    def fileno(self):
        raise io.UnsupportedOperation('the console has no file descriptor')

    def readline(self, size=-1):
        line = self._read_line()
        return line if size is None or size < 0 else line[:size]

    def read(self, size=-1):
        return self.readline(size)

    def close(self):
        pass  # exit() closes stdin; the console stays usable

def provide_interactive_builtins():
    import _sitebuiltins
    for name, make in (('help', lambda: _sitebuiltins._Helper()),
                       ('exit', lambda: _sitebuiltins.Quitter('exit', 'Ctrl-D (i.e. EOF)')),
                       ('quit', lambda: _sitebuiltins.Quitter('quit', 'Ctrl-D (i.e. EOF)'))):
        if not hasattr(builtins, name):
            setattr(builtins, name, make())
)PY";

PyObject* readConsoleLine(PyObject*, PyObject*)
{
    QString line;
    if (!PythonQtConsoleRun::readLine(line))
        return nullptr;
    const QByteArray utf8 = line.toUtf8();
    return PyUnicode_DecodeUTF8(utf8.constData(), utf8.size(), "replace");
}

PyMethodDef readLineDef = {"read_console_line", readConsoleLine, METH_NOARGS, "Waits for a line typed into the console."};

// The module's namespace (borrowed, kept while the interpreter lives), or null.
PyObject* consoleNamespace()
{
    static PyObject* globals = nullptr;
    static unsigned generation = 0;
    if (globals && generation == PythonQtThreadStates::generation())
        return globals;
    PyObject* dict = PyDict_New();
    if (!dict)
        return nullptr;
    PyDict_SetItemString(dict, "__builtins__", PyEval_GetBuiltins());
    PyObject* result = PyRun_String(consoleModuleSource, Py_file_input, dict, dict);
    if (!result) {
        Py_DECREF(dict);
        return nullptr;
    }
    Py_DECREF(result);
    globals = dict;
    generation = PythonQtThreadStates::generation();
    return globals;
}

// Calls a function of the module namespace; a new reference or null, no error left.
PyObject* callConsoleFunction(const char* name, PyObject* argument)
{
    PyObject* globals = consoleNamespace();
    PyObject* function = globals ? PyDict_GetItemString(globals, name) : nullptr;
    PyObject* result = function ? PyObject_CallFunctionObjArgs(function, argument, nullptr) : nullptr;
    if (!result)
        PyErr_Clear();
    return result;
}

} // namespace

void PythonQtConsoleStdin::provideInteractiveBuiltins()
{
    Py_XDECREF(callConsoleFunction("provide_interactive_builtins", nullptr));
}

PyObject* PythonQtConsoleStdin::create()
{
    PyObject* readLine = PyCFunction_New(&readLineDef, nullptr);
    if (!readLine) {
        PyErr_Clear();
        return nullptr;
    }
    PyObject* stream = callConsoleFunction("ConsoleInput", readLine);
    Py_DECREF(readLine);
    return stream;
}
