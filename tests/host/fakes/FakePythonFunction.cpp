#include "FakePythonFunction.h"

#include "FakePythonModule.h"

FakePythonFunction::FakePythonFunction(FakePythonModule* module, const QString& name)
    : m_module(module), m_name(name)
{
}

FakePythonFunction::~FakePythonFunction() = default;

QVariant FakePythonFunction::call(QVariantList args)
{
    return m_module->call(m_name, args);
}
