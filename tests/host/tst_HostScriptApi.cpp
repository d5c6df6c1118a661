// The "Host" script object driven by scripts of a real QScriptEngine over an engine without Python.
#include "CO_CommandManager.h"
#include "FakePythonEngine.h"
#include "FakePythonModule.h"
#include "HostScriptApi.h"
#include "MSG_Log.h"
#include "PLUG_Services.h"
#include "SCP_PythonManager.h"
#include "SC_SessionContext.h"

#include <QFileInfo>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

namespace {

SCP_PythonEngine* createFakeEngine(SC_SessionContext*)
{
    return new FakePythonEngine;
}

} // namespace

class TestHostScriptApi : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_scriptEngine = std::make_unique<QScriptEngine>();
        m_api = std::make_unique<HostScriptApi>(m_scriptEngine.get());
        m_api->install();
        m_manager.registerEngineCreationCallback(nullptr);
        m_context = std::make_unique<SC_SessionContext>(&m_manager, nullptr);
        PLUG_Services::setSessionContext(m_context.get());
    }

    void cleanup()
    {
        PLUG_Services::setSessionContext(nullptr);
        m_context.reset();
        m_api.reset();
        m_scriptEngine.reset();
    }

    void engineIsNullWithoutPython()
    {
        QVERIFY(run(QStringLiteral("Host.engine() === null")).toBool());
        PLUG_Services::setSessionContext(nullptr);
        QVERIFY(run(QStringLiteral("Host.engine() === null")).toBool());
    }

    void modulesAreOneScriptObjectEach()
    {
        m_manager.registerEngineCreationCallback(createFakeEngine);
        QVERIFY(run(QStringLiteral("var e = Host.engine(); e === Host.engine()")).toBool());
        QVERIFY(run(QStringLiteral("e.mainModule() === e.module('__main__')")).toBool());
        QVERIFY(run(QStringLiteral("var m = e.createModule('tools'); m.name() === 'tools' && m.fileName() === ''")).toBool());
        QVERIFY(run(QStringLiteral("e.importModule('tools') === m && e.importModule('missing.mod') === null")).toBool());
        QVERIFY(run(QStringLiteral("e.module('nothing') === null")).toBool());
        QCOMPARE(run(QStringLiteral("e.modules().map(function (x) { return x.name(); }).join(',')")).toString(),
                 QStringLiteral("__main__,tools"));
        QVERIFY(run(QStringLiteral("e.modules()[1] === m")).toBool());
        run(QStringLiteral("e.importModule('tools', true)"));
        QCOMPARE(fake()->fakeModule(QStringLiteral("tools"))->reloads, 1);
    }

    void moduleCallsReachTheEngine()
    {
        m_manager.registerEngineCreationCallback(createFakeEngine);
        run(QStringLiteral("var e = Host.engine(); var m = e.createModule('tools');"
                           "m.execute('def add(a, b)\\ndef sub(a, b)');"));
        QCOMPARE(run(QStringLiteral("m.call('add', [1, 'x'])")).toString(), QStringLiteral("add(1,x)"));
        QCOMPARE(run(QStringLiteral("m.call('add')")).toString(), QStringLiteral("add()"));
        QVERIFY(run(QStringLiteral("m.call('nothing', []) === undefined")).toBool());
        QVERIFY(run(QStringLiteral("m.execute('None') === undefined")).toBool());
        QCOMPARE(run(QStringLiteral("m.functions().map(function (f) { return f.name(); }).join(',')")).toString(),
                 QStringLiteral("add,sub"));
        QVERIFY(run(QStringLiteral("m.functions()[0] === m.functions()[0]")).toBool());
        QCOMPARE(run(QStringLiteral("m.functions()[1].call([5])")).toString(), QStringLiteral("sub(5)"));
        QCOMPARE(run(QStringLiteral("m.functions()[1].call()")).toString(), QStringLiteral("sub()"));

        run(QStringLiteral("e.mainModule().addModule(m); e.mainModule().addModule(42);"));
        QVERIFY(run(QStringLiteral("e.mainModule().hasModule(m) && !m.hasModule(e.mainModule()) && !m.hasModule('x')")).toBool());
        QCOMPARE(fake()->fakeModule(QStringLiteral("__main__"))->added.size(), 1);
        QCOMPARE(run(QStringLiteral("e.evaluate('6 * 7')")).toString(), QStringLiteral("evaluate(6 * 7)"));
    }

    void loadModuleAndEngineServices()
    {
        m_manager.registerEngineCreationCallback(createFakeEngine);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("hello.py"));
        QVERIFY(run(QStringLiteral("Host.writeFile('%1', 'def f()\\n')").arg(file)).toBool());
        QCOMPARE(run(QStringLiteral("Host.readFile('%1')").arg(file)).toString(), QStringLiteral("def f()\n"));
        QVERIFY(run(QStringLiteral("Host.readFile('%1') === null").arg(dir.filePath(QStringLiteral("none")))).toBool());
        QCOMPARE(run(QStringLiteral("var e = Host.engine(); e.loadModule('%1').name()").arg(file)).toString(), QStringLiteral("hello"));
        QCOMPARE(run(QStringLiteral("e.loadModule('%1', false, 'other').fileName()").arg(file)).toString(), file);
        QVERIFY(run(QStringLiteral("e.loadModule('/no/such.py') === null")).toBool());

        run(QStringLiteral("e.addSysPath('/opt/lib'); e.writeStdOut('hi'); e.writeStdErr('  oops \\n')"));
        QCOMPARE(fake()->sysPaths, QStringList{QStringLiteral("/opt/lib")});
        const QList<MSG_Entry> entries = MSG_Log::instance()->entries();
        QCOMPARE(entries.at(entries.size() - 2).text, QStringLiteral("[PY STDOUT] : hi"));
        QCOMPARE(entries.last().text, QStringLiteral("[PY STDERR] : oops"));

        fake()->pendingError = true;
        QVERIFY(run(QStringLiteral("e.hasError() && e.reportError() && !e.hasError() && !e.reportError()")).toBool());
        fake()->pendingError = true;
        QVERIFY(run(QStringLiteral("e.clearError(); !e.hasError()")).toBool());
    }

    void fileHelpersAndMainThreadState()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("t.txt"));
        QVERIFY(run(QStringLiteral("Host.writeFile('%1', 'x') && Host.setFileTime('%1', '2001-02-03T04:05:06Z')").arg(file)).toBool());
        QCOMPARE(QFileInfo(file).lastModified().toUTC(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC));
        QVERIFY(!run(QStringLiteral("Host.setFileTime('%1', 'yesterday')").arg(file)).toBool());
        QVERIFY(run(QStringLiteral("Host.removeFile('%1') && !Host.removeFile('%1')").arg(file)).toBool());
        QVERIFY(!run(QStringLiteral("Host.writeFile('%1', 'x')").arg(dir.filePath(QStringLiteral("no/dir/t.txt")))).toBool());
        SCP_PythonEngine::mainThreadState() = 3;
        QCOMPARE(run(QStringLiteral("Host.mainThreadState()")).toInt32(), 3);
        SCP_PythonEngine::mainThreadState() = 0;
    }

    void commandHistoryAndLoadMessages()
    {
        QVERIFY(run(QStringLiteral("!Host.pushCommand('x') && Host.commandIndex() === -1")).toBool());
        QVERIFY(run(QStringLiteral("Host.pythonLoadMessages().length === 0")).toBool());
        CO_CommandManager commands;
        SC_SessionContext context(&m_manager, &commands);
        PLUG_Services::setSessionContext(&context);
        QVERIFY(run(QStringLiteral("Host.pushCommand('move') && Host.pushCommand('scale')")).toBool());
        QCOMPARE(commands.undoStack()->text(0), QStringLiteral("move"));
        commands.unexecute(1);
        QCOMPARE(run(QStringLiteral("Host.commandIndex()")).toInt32(), 1);
        commands.reexecute(1);
        QCOMPARE(run(QStringLiteral("Host.commandIndex()")).toInt32(), 2);
        m_manager.addLoadMessage(QStringLiteral("Python 3"));
        m_manager.addLoadMessage(QStringLiteral("Executable: /usr/bin/python3"));
        QCOMPARE(run(QStringLiteral("Host.pythonLoadMessages().join('|')")).toString(),
                 QStringLiteral("Python 3|Executable: /usr/bin/python3"));
        PLUG_Services::setSessionContext(m_context.get());
    }

    void scriptErrorsStayInTheScript()
    {
        m_scriptEngine->evaluate(QStringLiteral("Host.engine().mainModule()"));
        QVERIFY(m_scriptEngine->hasUncaughtException()); // engine() is null here
        m_scriptEngine->clearExceptions();
        QVERIFY(run(QStringLiteral("typeof Host.print === 'function'")).toBool());
    }

private:
    QScriptValue run(const QString& program)
    {
        const QScriptValue result = m_scriptEngine->evaluate(program);
        if (m_scriptEngine->hasUncaughtException())
            qWarning() << "script failed:" << result.toString();
        return result;
    }

    FakePythonEngine* fake() { return static_cast<FakePythonEngine*>(m_context->pythonEngine()); }

    SCP_PythonManager m_manager;
    std::unique_ptr<QScriptEngine> m_scriptEngine;
    std::unique_ptr<HostScriptApi> m_api;
    std::unique_ptr<SC_SessionContext> m_context;
};

QTEST_GUILESS_MAIN(TestHostScriptApi)
#include "tst_HostScriptApi.moc"
