#include "support/PluginTestCase.h"

#include <SCP_PythonEngine.h>

#include <QtTest>

PluginTestCase::PluginTestCase()
    : engine(host.startPlugin())
{
}

void PluginTestCase::initTestCase()
{
    QVERIFY(engine);
}

void PluginTestCase::init()
{
    if (engine)
        engine->clearError();
}
