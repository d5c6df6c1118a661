#include "python/PythonFunctionImpl.h"

#include "python/PythonCallable.h"

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
    return callPythonCallable(function.object(), args);
}
