#pragma once

#include "SCP_PythonFunction.h"

class FakePythonModule;

// A function of a FakePythonModule: calling it calls the module's function of that name.
class FakePythonFunction : public SCP_PythonFunction
{
public:
    FakePythonFunction(FakePythonModule* module, const QString& name);
    ~FakePythonFunction() override;

    const QString& name() override { return m_name; }
    QVariant call(QVariantList args) override;

private:
    FakePythonModule* m_module;
    QString m_name;
};
