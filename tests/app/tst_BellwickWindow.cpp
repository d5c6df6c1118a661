// --window runs of bellwick with the stand-in plug-in, driven through the Host automation API.
#include "BellwickProcess.h"

#include <QFileInfo>
#include <QImage>
#include <QTest>

using Run = BellwickProcess::Run;

class TestBellwickWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo::exists(m_bellwick.standInPlugin()));
    }

    // What a user does in the window, and what it does to the stand-in area and the session.
    void scriptsDriveTheWindow()
    {
        const QString picture = m_bellwick.filePath(QStringLiteral("window.png"));
        const Run result = window({QStringLiteral("--script"), m_bellwick.script(QStringLiteral(R"(
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
        )").arg(picture))});
        QCOMPARE(result.status, 0);
        const QStringList lines = result.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(0, 9), (QStringList{QStringLiteral("Messages,Stand-in"),
                                               QStringLiteral("&File,&Edit,&Window,Stand-in"),
                                               QStringLiteral("selectAll,clear,copy,paste"),
                                               QStringLiteral("hello world 0"),
                                               QStringLiteral("true hello world"),
                                               QStringLiteral("hello world"),
                                               QStringLiteral("\"\""),
                                               QStringLiteral("1 2"),
                                               QStringLiteral("true true 1200x800")}));
        QCOMPARE(QImage(picture).size(), QSize(1200, 800));
    }

    void failuresEndTheRun_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("reason");
        QTest::newRow("job throws") << QStringLiteral("var a = 1;\nnoSuchFunction();\n") << QStringLiteral(":2: ReferenceError");
        QTest::newRow("callback throws") << QStringLiteral("Host.after(0, function () { throw new Error('late'); });\nHost.processEvents(50);")
                                         << QStringLiteral("Error: late (in a Host.after callback)");
        QTest::newRow("bad key") << QStringLiteral("Host.keyClick(Host.widgets('QTextEdit')[0], 'Hyperspace', '');")
                                 << QStringLiteral("unknown key name 'Hyperspace'");
    }

    void failuresEndTheRun()
    {
        QFETCH(QString, script);
        QFETCH(QString, reason);
        const Run result = window({QStringLiteral("--script"), m_bellwick.script(script)});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains(reason), qPrintable(result.err));
    }

    void styleIsSetBeforeThePluginLoads()
    {
        for (const QString& style : {QStringLiteral("dark"), QStringLiteral("light")}) {
            const QString log = m_bellwick.filePath(QStringLiteral("%1.jsonl").arg(style));
            QCOMPARE(window({QStringLiteral("--style"), style, QStringLiteral("--log"), log, QStringLiteral("-c"), QStringLiteral("1")}).status, 0);
            QStringList startup;
            for (const QJsonObject& event : BellwickProcess::readLog(log))
                startup.append(event.value(QStringLiteral("text")).toString());
            QVERIFY2(startup.contains(QStringLiteral("style: ") + style), qPrintable(startup.join(QLatin1Char('\n'))));
        }
    }

    void loadMessagesNameTheInstallation()
    {
        const Run result = window({QStringLiteral("--script"), m_bellwick.script(QStringLiteral(
                                       "Host.pythonLoadMessages().forEach(function (m) { Host.print(m); });"))});
        QCOMPARE(result.status, 0);
        const QStringList messages = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(messages.value(0).startsWith(QLatin1String("Python ")), qPrintable(result.out));
        QVERIFY2(messages.value(1).startsWith(QLatin1String("Executable: /")), qPrintable(result.out));
    }

    void dockStateSurvivesARestart()
    {
        const QString find = QStringLiteral("function dock(name) { return Host.widgets('QDockWidget').filter(function (d) { return d.objectName === name; })[0]; }\n");
        QCOMPARE(window({QStringLiteral("--script"), m_bellwick.script(find + QStringLiteral(
                                                         "dock('Messages').floating = true; dock('Stand-in').visible = false;"))}).status, 0);
        const Run result = window({QStringLiteral("--script"), m_bellwick.script(find + QStringLiteral(
                                                                    "Host.print(dock('Messages').floating, dock('Stand-in').visible);"))});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QStringLiteral("true false\n"));
    }

private:
    Run window(const QStringList& args)
    {
        return m_bellwick.run(QStringList{QStringLiteral("--plugin"), m_bellwick.standInPlugin(), QStringLiteral("--window")} + args);
    }

    BellwickProcess m_bellwick;
};

QTEST_GUILESS_MAIN(TestBellwickWindow)
#include "tst_BellwickWindow.moc"
