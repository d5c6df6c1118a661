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

#include <QProcess>
#include <QScriptEngine>
#include <QtTest>

namespace {
// The host's finder, reporting no home and optionally a missing installation.
class ScriptedFinder : public SCP_PythonFinder
{
public:
    bool buildPythonEnvironment() override
    {
        const bool built = installationPresent && SCP_PythonFinder::buildPythonEnvironment();
        m_homePath.clear();
        return built;
    }
    bool installationPresent = false;
};
}

class tst_plugin_startup : public QObject
{
    Q_OBJECT

    bool published() { return host.scriptEngine()->globalObject().property("PythonManager").isQObject(); }
    bool registered() { return host.pythonManager()->engineCreationCallback() == &createPythonEngine; }

    // The interpreter starts once per process: a slot that must see it start runs in a child
    // process of its own when another slot has started it here.
    void runAlone(const char* slot)
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(slot)});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }

    ScriptedFinder* finder = new ScriptedFinder;
    TestHost host{true, finder};

private slots:
    void withoutFinderOrInstallationNothingStarts()
    {
        if (PythonQt::self())
            return runAlone("withoutFinderOrInstallationNothingStarts");
        for (SCP_PythonFinder* installed : {static_cast<SCP_PythonFinder*>(nullptr), static_cast<SCP_PythonFinder*>(finder)}) {
            SCP_PythonFinder::setInstance(installed);
            MessageRecorder recorder;
            PLUG_Init();
            QVERIFY(recorder.entries().isEmpty());
            QVERIFY(!published());
            QVERIFY(!registered());
            QVERIFY(!PythonQt::self());
        }
    }

    void startUpLogsAndRegisters()
    {
        if (PythonQt::self())
            return runAlone("startUpLogsAndRegisters");
        SCP_PythonFinder::setInstance(finder);
        finder->installationPresent = true;
        MessageRecorder recorder;
        PLUG_Init();
        const QString executable = finder->pythonExecutablePath();
        const QString home = QDir::toNativeSeparators(QFileInfo(executable).dir().path());
        QCOMPARE(finder->homePath(), home);
        // Exactly the finder's path on every version: none has a default path before start-up.
        const QString searchPath = finder->pythonPath();
        QCOMPARE(qEnvironmentVariable("PYTHON_PATH"), searchPath);
        QCOMPARE(recorder.messages(0, MSG_Entry::PythonInit),
                 QStringList({QString("      Setting Python Path: %1 ").arg(searchPath),
                              QString("      Loaded Python from %1.").arg(executable), QString(),
                              QString("Python detected\n\tPython executable: %1\n\tPython home: %2").arg(executable, home),
                              "Python script plugin initialized.\n"}));
        QCOMPARE(PythonScript::instance()->objectName(), "PythonManager");
        PLUG_Polish();
        PLUG_Unpolish(); // leaves everything in place
        QVERIFY(PythonScript::instance()->isInitialized());
        QVERIFY(published());
        QVERIFY(registered());
        // The threads are started: the main thread holds no interpreter lock between operations.
        QVERIFY(!PyGILState_Check());
    }

    void everySessionSharesTheOneEngine()
    {
        if (!PythonQt::self()) {
            SCP_PythonFinder::setInstance(finder);
            finder->installationPresent = true;
            PLUG_Init();
        }
        QVERIFY(!createPythonEngine(nullptr));
        SC_SessionContext other(nullptr, nullptr);
        SCP_PythonEngine* engine = createPythonEngine(&other);
        QVERIFY(engine);
        QCOMPARE(host.session()->pythonEngine(), engine);
        QCOMPARE(createPythonEngine(nullptr), engine);
    }
};

QTEST_MAIN(tst_plugin_startup)
#include "tst_plugin_startup.moc"
