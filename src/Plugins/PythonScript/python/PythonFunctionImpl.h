#pragma once

#include "python/PyObjectPtr.h"

#include <SCP_PythonFunction.h>

#include <QObject>

// A Python function found in a module's namespace, as the host holds it. It keeps the function
// alive by itself; the module that listed it is its parent and owner.
class PythonFunctionImpl : public QObject, public SCP_PythonFunction
{
    Q_OBJECT
public:
    PythonFunctionImpl(PyObject* pyFunction, const QString& name, QObject* parent);
    ~PythonFunctionImpl() override;

    const QString& name() override;
    QVariant call(QVariantList args) override;

    // Calls callable with args as positional arguments and converts its result. A failed call
    // gives an invalid QVariant and leaves its Python error pending.
    static QVariant callObject(PyObject* callable, const QVariantList& args);

private:
    PyObjectPtr function;
    QString functionName;
};
