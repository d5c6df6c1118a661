#pragma once

#include "BellwickHostExport.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

class SCP_PythonFunction;

// A Python module as the host holds it. The engine that handed it out owns it. Failures follow
// the engine's error rules (SCP_PythonEngine.h).
class BELLWICK_HOST_EXPORT SCP_PythonModule
{
public:
    virtual const QString& name() = 0;
    virtual const QString& fileName() = 0;
    virtual void reload() = 0;
    virtual void addModule(SCP_PythonModule* module) = 0;
    virtual bool hasModule(SCP_PythonModule* module) = 0;
    virtual QVariant execute(const QString& code) = 0;
    virtual QVariant call(const QString& functionName, QVariantList args) = 0;
    virtual QList<SCP_PythonFunction*> functions() = 0;

protected:
    virtual ~SCP_PythonModule();
};
