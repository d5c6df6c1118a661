#pragma once

#include "BellwickHostExport.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

// A Python function as the host holds it. Its owner (the module that listed it) deletes it.
class BELLWICK_HOST_EXPORT SCP_PythonFunction
{
public:
    virtual const QString& name() = 0;
    virtual QVariant call(QVariantList args) = 0;

protected:
    virtual ~SCP_PythonFunction();
};
