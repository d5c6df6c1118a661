#include "console/PythonScriptDebugServer.h"

#include <PR_Preference.h>
#include <PythonQt.h>
#include <PythonQtErrors.h>
#include <PythonQtPython.h>

#include <QCoreApplication>

namespace {

const char* const portPreference = "PYTHON_DEBUG_PORT";
// The port an IDE tries by default, for the menu when the preference sets none.
constexpr int menuDefaultPort = 5678;

// Runs in a namespace of its own; the adapter process is the interpreter that was found.
const char* const listenSource = R"PY(
def listen(port):
    import sys
    import debugpy
    if sys.executable:
        debugpy.configure(python=sys.executable)
    return debugpy.listen(('127.0.0.1', port))[1]
)PY";

// The port listened on, or 0 with error set to Python's reason.
int listenOn(int port, QString& error)
{
    PythonQtGILScope lock;
    PythonQtObjectPtr globals;
    PythonQtObjectPtr result;
    if (globals.setNewRef(PyDict_New()) && PyDict_SetItemString(globals, "__builtins__", PyEval_GetBuiltins()) == 0
        && result.setNewRef(PyRun_String(listenSource, Py_file_input, globals, globals))) {
        PyObject* listen = PyDict_GetItemString(globals, "listen");
        result.setNewRef(listen ? PyObject_CallFunction(listen, "i", port) : nullptr);
    }
    const int listening = result.isNull() ? 0 : int(PyLong_AsLong(result));
    if (listening <= 0) // the exception's own line, the last of its traceback
        error = PythonQtErrors::takeFormatted().trimmed().section(QLatin1Char('\n'), -1);
    PyErr_Clear();
    return listening;
}

} // namespace

PythonScriptDebugServer* PythonScriptDebugServer::instance()
{
    static PythonScriptDebugServer* server = new PythonScriptDebugServer;
    return server;
}

int PythonScriptDebugServer::configuredPort()
{
    // The host's --debug-port comes as the process variable of the same name, for one run.
    bool given = false;
    const int port = qEnvironmentVariableIntValue(portPreference, &given);
    return qBound(0, given ? port : lxPref.getIntValue(QLatin1String(portPreference), 0), 65535);
}

void PythonScriptDebugServer::startForUser()
{
    start(configuredPort() > 0 ? configuredPort() : menuDefaultPort);
}

void PythonScriptDebugServer::startIfConfigured()
{
    if (!isListening() && configuredPort() > 0)
        start(configuredPort());
}

bool PythonScriptDebugServer::start(int port)
{
    if (isListening()) {
        setState(m_state);
        return true;
    }
    if (!PythonQt::self() || !PythonQt::self()->initSuccessfully())
        return false;
    QString error;
    m_port = listenOn(port, error);
    if (m_port > 0)
        setState(QCoreApplication::translate("PythonScript", "Debug server listening on 127.0.0.1:%1").arg(m_port));
    else
        setState(QCoreApplication::translate("PythonScript", "Debug server not started: %1 (it needs debugpy, Debian's python3-debugpy)")
                     .arg(error));
    return m_port > 0;
}

void PythonScriptDebugServer::setState(const QString& state)
{
    m_state = state;
    emit stateChanged(state);
}
