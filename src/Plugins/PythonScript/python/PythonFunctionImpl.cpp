#include <PythonQtPython.h>

#include "python/PythonFunctionImpl.h"

#include "python/PythonLockScope.h"

#include <PythonQt.h>
#include <PythonQtConv.h>

PythonFunctionImpl::PythonFunctionImpl(PyObject* pyFunction, const QString& name, QObject* parent)
    : QObject(parent)
    , function(pyFunction)
    , functionName(name)
{
}

PythonFunctionImpl::~PythonFunctionImpl() = default;

const QString& PythonFunctionImpl::name()
{
    return functionName;
}

QVariant PythonFunctionImpl::call(QVariantList args)
{
    return callObject(function.object(), args);
}

QVariant PythonFunctionImpl::callObject(PyObject* callable, const QVariantList& args)
{
    PythonLockScope lock;
    if (!PythonQt::self())
        return QVariant();
    PyObject* result = PythonQt::self()->callAndReturnPyObject(callable, args, QVariantMap());
    if (!result)
        return QVariant();
    const PyObjectPtr owned(result, false);
    return PythonQtConv::PyObjToQVariant(owned.object(), -1);
}
