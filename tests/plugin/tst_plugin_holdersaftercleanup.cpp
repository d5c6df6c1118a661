// Destroying the engine finalises Python first; wrappers and holders that die afterwards make no
// Python call, and no engine can be made again.
#include "support/TestHost.h"

#include "engine/PythonEngineImpl.h"
#include "python/PyObjectPtr.h"
#include <PythonQtPython.h>
#include "python/PythonModuleImpl.h"

#include <PythonQt.h>
#include <SCP_PythonEngine.h>
#include <SC_SessionContext.h>

#include <QtTest>

class tst_plugin_holdersaftercleanup : public QObject
{
    Q_OBJECT

    TestHost host;

private slots:
    void wrappersOutliveTheInterpreterSafely()
    {
        SCP_PythonEngine* engine = host.startPlugin();
        QVERIFY(engine);
        auto* module = dynamic_cast<PythonModuleImpl*>(engine->createModule("survivor"));
        QVERIFY(module);
        module->execute("def f():\n  return 1\ng = f");
        QCOMPARE(module->functions().size(), 2);
        const QPointer<QObject> watched(module);
        auto standalone = std::make_unique<PyObjectPtr>(module->pyModule());
        PyObjectPtr empty(nullptr);

        host.session()->releasePythonEngine();
        QVERIFY(!watched);
        QVERIFY(!PythonQt::self());
        QVERIFY(!Py_IsInitialized());
        standalone->reset(nullptr);
        standalone.reset();
        QVERIFY(!createPythonEngine(host.session()));
        QVERIFY(!host.session()->pythonEngine());
        QCOMPARE(SCP_PythonEngine::mainThreadState(), 0);
    }
};

QTEST_MAIN(tst_plugin_holdersaftercleanup)
#include "tst_plugin_holdersaftercleanup.moc"
