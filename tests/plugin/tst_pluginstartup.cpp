// PLUG_Init step by step: missing services, a failing finder, the start-up log, the published
// object and the engine-creation callback.
#include "support/MessageRecorder.h"
#include "support/TestHost.h"

#include "engine/PythonEngineImpl.h"
#include "plugin/PlugInEntryPoints.h"
#include "bridge/PythonScript.h"
#include <PythonQtPython.h>

#include <PythonQt.h>
#include <SCP_PythonFinder.h>
#include <SCP_PythonManager.h>
#include <SC_SessionContext.h>

#include <QDir>
#include <QFileInfo>
#include <QScriptEngine>
#include <QtTest>

namespace {
// The host's finder, reporting no home and optionally a missing installation.
class ScriptedFinder : public SCP_PythonFinder
{
public:
    bool buildPythonEnvironment() override
    {
        if (!installationPresent)
            return false;
        const bool built = SCP_PythonFinder::buildPythonEnvironment();
        m_homePath.clear();
        return built;
    }
    bool installationPresent = false;
};
}

class PluginStartupTest : public QObject
{
    Q_OBJECT

private:
    bool published() { return host.scriptEngine()->globalObject().property(QStringLiteral("PythonManager")).isQObject(); }

    ScriptedFinder* finder = new ScriptedFinder;
    TestHost host{true, finder};

private slots:
    void missingFinderDoesNothing()
    {
        SCP_PythonFinder::setInstance(nullptr);
        MessageRecorder recorder;
        PLUG_Init();
        SCP_PythonFinder::setInstance(finder);
        QVERIFY(recorder.entries().isEmpty());
        QVERIFY(!host.pythonManager()->engineCreationCallback());
        QVERIFY(!PythonQt::self());
    }

    void missingInstallationDoesNothing()
    {
        MessageRecorder recorder;
        PLUG_Init();
        QVERIFY(recorder.entries().isEmpty());
        QVERIFY(!published());
        QVERIFY(!host.pythonManager()->engineCreationCallback());
        QVERIFY(!PythonQt::self());
    }

    void startUpLogsAndRegisters()
    {
        finder->installationPresent = true;
        MessageRecorder recorder;
        PLUG_Init();
        const QString executable = finder->pythonExecutablePath();
        const QString home = QDir::toNativeSeparators(QFileInfo(executable).dir().path());
        QCOMPARE(finder->homePath(), home);
        // Exactly the finder's path on every version: none has a default path before start-up.
        const QString searchPath = finder->pythonPath();
        QCOMPARE(qEnvironmentVariable("PYTHON_PATH"), searchPath);
        QCOMPARE(recorder.pythonInitLines(),
                 QStringList({QStringLiteral("      Setting Python Path: %1 ").arg(searchPath),
                              QStringLiteral("      Loaded Python from %1.").arg(executable), QString(),
                              QStringLiteral("Python detected\n\tPython executable: %1\n\tPython home: %2").arg(executable, home),
                              QStringLiteral("Python script plugin initialized.\n")}));
        QVERIFY(PythonScript::instance()->isInitialized());
        QCOMPARE(PythonScript::instance()->objectName(), QStringLiteral("PythonManager"));
        QVERIFY(published());
        QVERIFY(host.pythonManager()->engineCreationCallback() == &createPythonEngine);
        // The threads are started: the main thread holds no interpreter lock between operations.
        QVERIFY(!PyGILState_Check());
    }

    void everySessionSharesTheOneEngine()
    {
        QVERIFY(!createPythonEngine(nullptr));
        SC_SessionContext other(nullptr, nullptr);
        SCP_PythonEngine* engine = createPythonEngine(&other);
        QVERIFY(engine);
        QCOMPARE(createPythonEngine(host.session()), engine);
        QCOMPARE(host.session()->pythonEngine(), engine);
        QCOMPARE(createPythonEngine(nullptr), engine);
    }

    void secondInitRegistersAgainWithTheSameObject()
    {
        PythonScript* plugin = PythonScript::instance();
        host.pythonManager()->registerEngineCreationCallback(nullptr);
        host.scriptEngine()->globalObject().setProperty(QStringLiteral("PythonManager"), QScriptValue());
        PLUG_Init();
        QCOMPARE(PythonScript::instance(), plugin);
        QVERIFY(published());
        QVERIFY(host.pythonManager()->engineCreationCallback() == &createPythonEngine);
    }

    void unpolishLeavesEverythingInPlace()
    {
        PLUG_Polish();
        PLUG_Unpolish();
        QVERIFY(published());
        QVERIFY(host.pythonManager()->engineCreationCallback() == &createPythonEngine);
        QVERIFY(PythonQt::self() && Py_IsInitialized());
    }
};

QTEST_MAIN(PluginStartupTest)
#include "tst_pluginstartup.moc"
