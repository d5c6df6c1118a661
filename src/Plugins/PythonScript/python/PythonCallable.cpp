#include "python/PythonInclude.h"

#include "python/PythonCallable.h"

#include "engine/EngineGILScope.h"
#include "python/PyObjectPtr.h"

#include <PythonQt.h>
#include <PythonQtConv.h>

QVariant callPythonCallable(PyObject* callable, const QVariantList& args)
{
    PythonEngineImpl::EngineGILScope lock;
    if (!PythonQt::self())
        return QVariant();
    PyObject* result = PythonQt::self()->callAndReturnPyObject(callable, args, QVariantMap());
    if (!result)
        return QVariant();
    const PyObjectPtr owned(result, false);
    return PythonQtConv::PyObjToQVariant(owned.object(), -1);
}
