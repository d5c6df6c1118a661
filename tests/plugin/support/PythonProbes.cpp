#include "support/PythonProbes.h"

#include "engine/EngineGILScope.h"
#include "python/PythonModuleImpl.h"

Py_ssize_t referenceCount(PyObject* object)
{
    PythonEngineImpl::EngineGILScope lock;
    return Py_REFCNT(object);
}

PyObject* globalOf(PythonModuleImpl* module, const char* name)
{
    PythonEngineImpl::EngineGILScope lock;
    return PyDict_GetItemString(PyModule_GetDict(module->pyModule()), name);
}
