// --window runs of bellwick with the stand-in plug-in, driven through the Host automation API.
#include "BellwickProcess.h"

#include <QFileInfo>
#include <QImage>
#include <QTest>

class tst_app_window : public QObject
{
    Q_OBJECT

    BellwickProcess bellwick;

    BellwickProcess::Run window(const QStringList& args)
    {
        return bellwick.run(QStringList{"--plugin", bellwick.standInPlugin(), "--window"} + args);
    }
    BellwickProcess::Run windowScript(const QString& script) { return window({"--script", bellwick.script(script)}); }

private slots:
    void initTestCase() { QVERIFY(QFileInfo::exists(bellwick.standInPlugin())); }

    // What a user does in the window, and what it does to the stand-in area and the session.
    void scriptsDriveTheWindow()
    {
        const QString picture = bellwick.filePath("window.png");
        const BellwickProcess::Run result = windowScript(QStringLiteral(R"(
            var main = Host.widgets('QMainWindow')[0];
            var edit = Host.widgets('QTextEdit')[0];
            Host.print(Host.widgets('QDockWidget').map(function (d) { return d.objectName; }).sort().join());
            Host.print(Host.widgets('QMenu').map(function (m) { return m.title; }).filter(String).join());
            Host.print(Host.actions('Stand-in').join());
            Host.keyClicks(edit, 'hello world');
            Host.setTextCursor(edit, 0, 0);
            var r = Host.cursorRect(edit);
            Host.setTextCursor(edit, 6, 6);
            Host.mouseClick(edit, r.x + 1, r.y + r.height / 2);
            Host.print(edit.plainText, Host.textCursor(edit).position);
            Host.print(Host.triggerAction('Stand-in', 'selectAll'), Host.textCursor(edit).selectedText);
            Host.keyClick(edit, 'C', 'Control');
            Host.print(Host.clipboardText());
            Host.keyClick(edit, 'L', 'Control');
            Host.print(JSON.stringify(edit.plainText));
            Host.pushCommand('one'); Host.pushCommand('two');
            Host.keyClick(main, 'Z', 'Control');
            var undone = Host.commandIndex();
            Host.keyClick(main, 'Z', 'Control+Shift');
            Host.print(undone, Host.commandIndex());
            var fired = false;
            Host.after(20, function () { fired = true; });
            Host.processEvents(200);
            Host.print(fired, Host.grab(null, '%1'), main.width + 'x' + main.height);
        )").arg(picture));
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out.split('\n').mid(0, 9), (QStringList{"Messages,Stand-in", "&File,&Edit,&Window,Stand-in", "selectAll,clear,copy,paste",
                                                                "hello world 0", "true hello world", "hello world", "\"\"", "1 2",
                                                                "true true 1200x800"}));
        QCOMPARE(QImage(picture).size(), QSize(1200, 800));
    }

    void failuresEndTheRun_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("reason");
        QTest::newRow("job throws") << "var a = 1;\nnoSuchFunction();\n" << ":2: ReferenceError";
        QTest::newRow("callback throws") << "Host.after(0, function () { throw new Error('late'); });\nHost.processEvents(50);"
                                         << "Error: late (in a Host.after callback)";
        QTest::newRow("bad key") << "Host.keyClick(Host.widgets('QTextEdit')[0], 'Hyperspace', '');" << "unknown key name 'Hyperspace'";
    }

    void failuresEndTheRun()
    {
        QFETCH(QString, script);
        const BellwickProcess::Run result = windowScript(script);
        QCOMPARE(result.status, 1);
        QFETCH(QString, reason);
        QVERIFY2(result.err.contains(reason), qPrintable(result.err));
    }

    void styleIsSetBeforeThePluginLoads()
    {
        for (const QString style : {"dark", "light"}) {
            const QString log = bellwick.filePath(style + ".jsonl");
            QCOMPARE(window({"--style", style, "--log", log, "-c", "1"}).status, 0);
            QStringList startup;
            for (const QJsonObject& event : BellwickProcess::readLog(log))
                startup << event.value("text").toString();
            QVERIFY2(startup.contains("style: " + style), qPrintable(startup.join('\n')));
        }
    }

    void loadMessagesNameTheInstallation()
    {
        const BellwickProcess::Run result = windowScript("Host.pythonLoadMessages().forEach(function (m) { Host.print(m); });");
        QCOMPARE(result.status, 0);
        const QStringList messages = result.out.split('\n');
        QVERIFY2(messages.value(0).startsWith("Python ") && messages.value(1).startsWith("Executable: /"), qPrintable(result.out));
    }

    void dockStateSurvivesARestart()
    {
        const QString dock = "function dock(name) { return Host.widgets('QDockWidget').filter(function (d) { return d.objectName === name; })[0]; }\n";
        QCOMPARE(windowScript(dock + "dock('Messages').floating = true; dock('Stand-in').visible = false;").status, 0);
        const BellwickProcess::Run result = windowScript(dock + "Host.print(dock('Messages').floating, dock('Stand-in').visible);");
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, "true false\n");
    }
};

QTEST_GUILESS_MAIN(tst_app_window)
#include "tst_app_window.moc"
