// The "Host" script object driven by scripts of a real QScriptEngine: the session's engine (one
// without Python; the host-script acceptance run drives the real one), files, the command history,
// and UI automation against real widgets, offscreen.
#include "BUIAPP_Application.h"
#include "FakePythonEngine.h"
#include "FakePythonModule.h"
#include "HostScriptApi.h"
#include "MSG_Log.h"
#include "PLUG_Services.h"
#include "SCP_PythonManager.h"
#include "SC_SessionContext.h"

#include <QScriptEngine>
#include <QtTest>
#include <QtWidgets>

namespace {
SCP_PythonEngine* createFakeEngine(SC_SessionContext*)
{
    return new FakePythonEngine;
}
}

class tst_host_scriptapi : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    BUIAPP_Application m_application;
    std::unique_ptr<QWidget> m_window;
    QTextEdit* m_edit = nullptr;
    std::unique_ptr<QScriptEngine> m_engine;
    std::unique_ptr<HostScriptApi> m_api;
    SCP_PythonManager m_manager;
    std::unique_ptr<SC_SessionContext> m_context;

    QScriptValue run(const QString& program)
    {
        const QScriptValue result = m_engine->evaluate(program);
        if (m_engine->hasUncaughtException())
            qWarning("script failed: %s", qPrintable(m_engine->uncaughtException().toString()));
        return result;
    }

    FakePythonEngine* fake() { return static_cast<FakePythonEngine*>(m_context->pythonEngine()); }

private slots:
    void initTestCase() { m_manager.registerEngineCreationCallback(createFakeEngine); }

    // A window with a rich and a plain text edit and a label; a session whose engine is a fake
    // one, with a module "tools" defining add and sub.
    void init()
    {
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        layout->addWidget(m_edit = new QTextEdit(m_window.get()));
        layout->addWidget(new QPlainTextEdit(m_window.get()));
        layout->addWidget(new QLabel("label", m_window.get()));
        m_edit->setObjectName("rich");
        m_window->resize(400, 300);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_application.setMainWidget(m_window.get());
        BUIAPP_Application::setInstance(&m_application);

        m_context = std::make_unique<SC_SessionContext>(&m_manager, nullptr);
        PLUG_Services::setSessionContext(m_context.get());
        m_engine = std::make_unique<QScriptEngine>();
        m_api = std::make_unique<HostScriptApi>(m_engine.get());
        m_api->install();
        m_engine->globalObject().setProperty("DIR", m_dir.path());
        run("var py = Host.engine(), tools = py.createModule('tools'), edit = Host.widgets('QTextEdit')[0],"
            "    plain = Host.widgets('QPlainTextEdit')[0];"
            "tools.execute('def add(a, b)\\ndef sub(a, b)');"
            "function state(w) { return w.plainText + '|' + Host.textCursor(w).selectedText; }");
    }

    void cleanup()
    {
        PLUG_Services::setSessionContext(nullptr);
        m_api.reset();
        m_engine.reset();
        m_context.reset();
        BUIAPP_Application::setInstance(nullptr);
        m_window.reset();
    }

    void scriptAnswers_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("answer");
        // Engine, module and function objects
        QTest::newRow("engine objects kept") << "py === Host.engine() && py.mainModule() === py.module('__main__')" << "true";
        QTest::newRow("created module") << "tools.name() + '|' + tools.fileName()" << "tools|";
        QTest::newRow("no module") << "py.importModule('missing.mod') + '|' + py.module('nothing') + '|' + py.loadModule('/no/such.py')"
                                   << "null|null|null";
        QTest::newRow("calls") << "[tools.call('add', [1, 'x']), tools.call('add'), tools.call('nothing', [])].join('|')" << "add(1,x)|add()|";
        QTest::newRow("execute of None") << "tools.execute('None')" << "undefined";
        QTest::newRow("functions kept") << "tools.functions()[1].call([5]) + (tools.functions()[0] === tools.functions()[0])" << "sub(5)true";
        QTest::newRow("addModule") << "var main = py.mainModule(); main.addModule(tools); main.addModule(42);"
                                      "main.hasModule(tools) && !main.hasModule(42) && !tools.hasModule(main) && !tools.hasModule('x')"
                                   << "true";
        // Files and the session
        QTest::newRow("write, read") << "Host.writeFile(DIR + '/a.py', 'def f()\\n') && Host.readFile(DIR + '/a.py')" << "def f()\n";
        QTest::newRow("nothing to read or write") << "Host.readFile(DIR + '/none') + '|' + Host.writeFile(DIR + '/no/dir/t.txt', 'x')"
                                                  << "null|false";
        QTest::newRow("time not understood, remove") << "Host.writeFile(DIR + '/t', 'x') && !Host.setFileTime(DIR + '/t', 'yesterday') &&"
                                                        "Host.removeFile(DIR + '/t') && !Host.removeFile(DIR + '/t')"
                                                     << "true";
        QTest::newRow("load module") << "Host.writeFile(DIR + '/hello.py', ''); py.loadModule(DIR + '/hello.py').name() + '|' +"
                                        "(py.loadModule(DIR + '/hello.py', false, 'other').fileName() === DIR + '/hello.py')"
                                     << "hello|true";
        QTest::newRow("no history") << "Host.pushCommand('x') + '|' + Host.commandIndex()" << "false|-1";
        // Widgets and input
        QTest::newRow("widgets depth first") << "Host.widgets('QAbstractScrollArea').map(function (w) { return w.objectName; }).join()"
                                             << "rich,";
        QTest::newRow("backspace") << "Host.keyClicks(edit, 'abc'); Host.keyClick(edit, 'Backspace', ''); state(edit)" << "ab|";
        QTest::newRow("select all, type") << "Host.keyClicks(edit, 'ab'); Host.keyClick(edit, 'a', ' Control '); Host.keyClicks(edit, 'X');"
                                             "state(edit)"
                                          << "X|";
        QTest::newRow("line feed is return") << "Host.keyClicks(edit, 'a\\nb'); state(edit)" << "a\nb|";
        QTest::newRow("beyond latin-1") << "Host.keyClicks(edit, 'ü€😀'); state(edit)" << "ü€😀|";
        // A click moves the cursor in viewport coordinates and gives focus, as real input does.
        for (const char* name : {"edit", "plain"}) {
            QTest::newRow(name) << QString("%1.setPlainText('hello world'); Host.setTextCursor(%1, 6, 6); var r = Host.cursorRect(%1);"
                                           "Host.setTextCursor(%1, 0, 0); Host.mouseClick(%1, r.x + 1, r.y + r.height / 2);"
                                           "var at = Host.textCursor(%1).position;"
                                           "Host.mouseDrag(%1, 1, r.y + r.height / 2, r.x - 1, r.y + r.height / 2);"
                                           "at + '|' + state(%1) + '|' + %1.focus")
                                       .arg(name)
                                << "6|hello world|hello |true";
        }
    }

    void scriptAnswers()
    {
        QFETCH(QString, script);
        QFETCH(QString, answer);
        QCOMPARE(run(script).toString(), answer);
    }

    void badArgumentsThrowClearMessages_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a widget") << "Host.keyClick(Host, 'A', '')" << "Host.keyClick: argument 1 is not a widget";
        QTest::newRow("unknown key") << "Host.keyClick(edit, 'Key_A', '')" << "unknown key name 'Key_A'";
        QTest::newRow("unknown modifier") << "Host.keyClick(edit, 'A', 'Shift+Hyper')" << "unknown modifier 'Hyper'";
        QTest::newRow("not a text edit") << "Host.textCursor(Host.widgets('QLabel')[0])" << "argument 1 is not a text edit: QLabel";
        QTest::newRow("position outside") << "Host.setTextCursor(edit, 1, 0)" << "position 1 is outside the document (0 to 0)";
        QTest::newRow("fractional coordinate") << "Host.mouseDrag(edit, 1, 1, 2.5, 1)" << "argument 4 is not a whole number: 2.5";
        QTest::newRow("negative time") << "Host.processEvents(-5)" << "argument 1 is a negative time";
        QTest::newRow("not a function") << "Host.after(1, 'later')" << "argument 2 is not a function: later";
        QTest::newRow("unknown area") << "Host.actions('Nowhere')" << "no dock for the area 'Nowhere'";
    }

    void badArgumentsThrowClearMessages()
    {
        QFETCH(QString, script);
        QFETCH(QString, message);
        const QString thrown = run("try { " + script + "; 'no exception' } catch (error) { error.message }").toString();
        QVERIFY2(thrown.contains(message), qPrintable(thrown));
    }

    void deletedWidgetsAreRefused()
    {
        run("var label = Host.widgets('QLabel')[0];");
        delete m_window->findChild<QLabel*>();
        QCOMPARE(run("try { Host.grab(label, 'x.png') } catch (error) { error.message }").toString(),
                 "Host.grab: argument 1 is a deleted widget");
    }

    void engineServicesReachTheEngine()
    {
        run("py.importModule('tools', true); py.addSysPath('/opt/lib'); py.writeStdOut('hi'); py.writeStdErr('  oops \\n')");
        QCOMPARE(fake()->fakeModule("tools")->reloads, 1);
        QCOMPARE(fake()->sysPaths, QStringList{"/opt/lib"});
        const QList<MSG_Entry> entries = MSG_Log::instance()->entries();
        QCOMPARE(entries.at(entries.size() - 2).text, "[PY STDOUT] : hi");
        QCOMPARE(entries.last().text, "[PY STDERR] : oops");
        fake()->pendingError = true;
        QVERIFY(run("py.hasError() && (py.clearError(), !py.hasError())").toBool());
        SCP_PythonEngine::mainThreadState() = 3;
        QCOMPARE(run("Host.mainThreadState()").toInt32(), 3);
        SCP_PythonEngine::mainThreadState() = 0;
    }

    void setFileTimeSetsTheModificationTime()
    {
        QVERIFY(run("Host.writeFile(DIR + '/t', 'x') && Host.setFileTime(DIR + '/t', '2001-02-03T04:05:06Z')").toBool());
        QCOMPARE(QFileInfo(m_dir.filePath("t")).lastModified().toUTC(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC));
    }

    void textColoursComeFromTheFormatOrThePalette()
    {
        m_edit->setHtml("<span style='color:#ff0000'>red</span>plain");
        QCOMPARE(run("Host.textColorAt(edit, 2)").toString(), "#ff0000");
        QCOMPARE(run("Host.textColorAt(edit, 3)").toString(), m_edit->palette().color(QPalette::Text).name());
    }

    // Callbacks run in the order of their times, also when one processes events itself.
    void callbacksFireFromTheEventLoopInOrder()
    {
        run("var calls = []; Host.after(40, function () { calls.push('late'); });"
            "Host.after(0, function () { calls.push('soon'); Host.processEvents(0); });");
        QCOMPARE(run("calls.length").toInt32(), 0);
        run("Host.processEvents(100)");
        QCOMPARE(run("calls.join()").toString(), "soon,late");
    }
};

QTEST_MAIN(tst_host_scriptapi)
#include "tst_host_scriptapi.moc"
