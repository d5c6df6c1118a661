#include <PythonQtPython.h>

#include "engine/EngineThreadStateScope.h"

PythonEngineImpl::EngineThreadStateScope::EngineThreadStateScope()
    : savedState(new PyThreadState*(nullptr))
{
    // Saving a state the thread does not hold would abort the process; then there is nothing
    // to give up or take back.
    if (Py_IsInitialized() && PyGILState_Check())
        *savedState = PyEval_SaveThread();
}

PythonEngineImpl::EngineThreadStateScope::~EngineThreadStateScope()
{
    release();
}

void PythonEngineImpl::EngineThreadStateScope::release()
{
    if (!savedState)
        return;
    PyThreadState** cell = savedState;
    savedState = nullptr;
    if (*cell) {
        PyEval_RestoreThread(*cell);
        *cell = nullptr;
    }
    delete cell;
}
