// Destroying the engine finalises Python first; wrappers and holders that die afterwards make no
// Python call, and no engine can be made again.
#include "support/TestHost.h"

#include "engine/PythonEngineImpl.h"
#include "python/PyObjectPtr.h"
#include <PythonQtPython.h>
#include "python/PythonModuleImpl.h"

#include <PythonQt.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SC_SessionContext.h>

#include <QPointer>
#include <QtTest>

#include <memory>

class HoldersAfterCleanupTest : public QObject
{
    Q_OBJECT

private:
    TestHost host;

private slots:
    void wrappersOutliveTheInterpreterSafely()
    {
        SCP_PythonEngine* engine = host.startPlugin();
        QVERIFY(engine);
        auto* module = dynamic_cast<PythonModuleImpl*>(engine->createModule(QStringLiteral("survivor")));
        QVERIFY(module);
        module->execute(QStringLiteral("def f():\n  return 1\ng = f"));
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

QTEST_MAIN(HoldersAfterCleanupTest)
#include "tst_holdersaftercleanup.moc"
