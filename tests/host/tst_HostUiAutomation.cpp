// Host UI automation driven by scripts of a real QScriptEngine against real widgets, offscreen.
#include "BUIAPP_Application.h"
#include "HostScriptApi.h"

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

class TestHostUiAutomation : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_window = std::make_unique<QMainWindow>();
        auto* centre = new QWidget(m_window.get());
        auto* layout = new QVBoxLayout(centre);
        m_edit = new QTextEdit(centre);
        m_edit->setObjectName(QStringLiteral("rich"));
        m_plain = new QPlainTextEdit(centre);
        m_plain->setObjectName(QStringLiteral("plain"));
        layout->addWidget(m_edit);
        layout->addWidget(m_plain);
        layout->addWidget(new QLabel(QStringLiteral("label"), centre));
        m_window->setCentralWidget(centre);
        m_window->resize(400, 300);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_application.setMainWidget(m_window.get());
        BUIAPP_Application::setInstance(&m_application);

        m_engine = std::make_unique<QScriptEngine>();
        m_api = std::make_unique<HostScriptApi>(m_engine.get());
        m_api->install();
        run(QStringLiteral("var e = Host.widgets('QTextEdit')[0]; var p = Host.widgets('QPlainTextEdit')[0];"));
    }

    void cleanup()
    {
        m_api.reset();
        m_engine.reset();
        BUIAPP_Application::setInstance(nullptr);
        m_window.reset();
    }

    void widgetsAreFoundByClassDepthFirst()
    {
        QCOMPARE(run(QStringLiteral("Host.widgets('QAbstractScrollArea').map(function (w) { return w.objectName; }).join()")).toString(),
                 QStringLiteral("rich,plain"));
        QVERIFY(run(QStringLiteral("Host.widgets('QMainWindow')[0].windowTitle === ''")).toBool());
        QCOMPARE(run(QStringLiteral("Host.widgets('NoSuchClass').length")).toInt32(), 0);
    }

    void keysEditTheText_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");
        QTest::newRow("typing") << QStringLiteral("Host.keyClicks(e, 'abc')") << QStringLiteral("abc") << QString();
        QTest::newRow("backspace") << QStringLiteral("Host.keyClicks(e, 'abc'); Host.keyClick(e, 'Backspace', '')")
                                   << QStringLiteral("ab") << QString();
        QTest::newRow("shift+home selects") << QStringLiteral("Host.keyClicks(e, 'ab'); Host.keyClick(e, 'Home', 'Shift')")
                                            << QStringLiteral("ab") << QStringLiteral("ab");
        QTest::newRow("select all, then type") << QStringLiteral("Host.keyClicks(e, 'ab'); Host.keyClick(e, 'a', ' Control ');"
                                                                 "Host.keyClicks(e, 'X')")
                                               << QStringLiteral("X") << QString();
        QTest::newRow("line feed is return") << QStringLiteral("Host.keyClicks(e, 'a\\nb')") << QStringLiteral("a\nb") << QString();
        QTest::newRow("beyond latin-1") << QStringLiteral("Host.keyClicks(e, 'ü€😀')") << QStringLiteral("ü€😀") << QString();
        QTest::newRow("left with shift+control") << QStringLiteral("Host.keyClicks(e, 'one two'); Host.keyClick(e, 'Left', 'Shift+Control')")
                                                 << QStringLiteral("one two") << QStringLiteral("two");
    }

    void keysEditTheText()
    {
        QFETCH(QString, script);
        QFETCH(QString, text);
        QFETCH(QString, selected);
        run(script);
        QCOMPARE(m_edit->toPlainText(), text);
        QCOMPARE(run(QStringLiteral("Host.textCursor(e).selectedText")).toString(), selected);
    }

    void badArgumentsThrowClearMessages_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a widget") << QStringLiteral("Host.keyClick(Host, 'A', '')") << QStringLiteral("Host.keyClick: argument 1 is not a widget");
        QTest::newRow("null widget") << QStringLiteral("Host.mouseClick(null, 1, 1)") << QStringLiteral("Host.mouseClick: argument 1 is not a widget");
        QTest::newRow("unknown key") << QStringLiteral("Host.keyClick(e, 'Frobnicate', '')") << QStringLiteral("unknown key name 'Frobnicate'");
        QTest::newRow("key with prefix") << QStringLiteral("Host.keyClick(e, 'Key_A', '')") << QStringLiteral("unknown key name 'Key_A'");
        QTest::newRow("unknown modifier") << QStringLiteral("Host.keyClick(e, 'A', 'Shift+Hyper')") << QStringLiteral("unknown modifier 'Hyper'");
        QTest::newRow("not a text edit") << QStringLiteral("Host.textCursor(Host.widgets('QLabel')[0])") << QStringLiteral("argument 1 is not a text edit: QLabel");
        QTest::newRow("position outside") << QStringLiteral("Host.setTextCursor(e, 1, 0)") << QStringLiteral("position 1 is outside the document (0 to 0)");
        QTest::newRow("fractional coordinate") << QStringLiteral("Host.mouseDrag(e, 1, 1, 2.5, 1)") << QStringLiteral("argument 4 is not a whole number: 2.5");
        QTest::newRow("negative time") << QStringLiteral("Host.processEvents(-5)") << QStringLiteral("argument 1 is a negative time");
        QTest::newRow("not a function") << QStringLiteral("Host.after(1, 'later')") << QStringLiteral("argument 2 is not a function: later");
        QTest::newRow("unknown area") << QStringLiteral("Host.actions('Nowhere')") << QStringLiteral("no dock for the area 'Nowhere'");
    }

    void badArgumentsThrowClearMessages()
    {
        QFETCH(QString, script);
        QFETCH(QString, message);
        const QString thrown = run(QStringLiteral("try { %1; 'no exception' } catch (error) { error.message }").arg(script)).toString();
        QVERIFY2(thrown.contains(message), qPrintable(thrown));
    }

    void deletedWidgetsAreRefused()
    {
        run(QStringLiteral("var label = Host.widgets('QLabel')[0];"));
        delete m_window->findChild<QLabel*>();
        QCOMPARE(run(QStringLiteral("try { Host.grab(label, 'x.png') } catch (error) { error.message }")).toString(),
                 QStringLiteral("Host.grab: argument 1 is a deleted widget"));
    }

    void mouseMovesTheCursorInViewportCoordinates()
    {
        for (const QString& edit : {QStringLiteral("e"), QStringLiteral("p")}) {
            run(QStringLiteral("%1.setPlainText('hello world'); Host.setTextCursor(%1, 6, 6); var r = Host.cursorRect(%1);"
                               "Host.setTextCursor(%1, 0, 0); Host.mouseClick(%1, r.x + 1, r.y + r.height / 2);").arg(edit));
            QCOMPARE(run(QStringLiteral("Host.textCursor(%1).position").arg(edit)).toInt32(), 6);
            run(QStringLiteral("Host.mouseDrag(%1, 1, r.y + r.height / 2, r.x - 1, r.y + r.height / 2)").arg(edit));
            QCOMPARE(run(QStringLiteral("Host.textCursor(%1).selectedText").arg(edit)).toString(), QStringLiteral("hello "));
        }
        QVERIFY(m_plain->hasFocus()); // a click gives focus as real input does
    }

    void textColoursComeFromTheFormatOrThePalette()
    {
        m_edit->setHtml(QStringLiteral("<span style='color:#ff0000'>red</span>plain"));
        QCOMPARE(run(QStringLiteral("Host.textColorAt(e, 2)")).toString(), QStringLiteral("#ff0000"));
        QCOMPARE(run(QStringLiteral("Host.textColorAt(e, 3)")).toString(), m_edit->palette().color(QPalette::Text).name());
    }

    void clipboardRoundTrips()
    {
        run(QStringLiteral("Host.setClipboardText('från Host')"));
        QCOMPARE(run(QStringLiteral("Host.clipboardText()")).toString(), QStringLiteral("från Host"));
        run(QStringLiteral("Host.keyClick(e, 'V', 'Control')"));
        QCOMPARE(m_edit->toPlainText(), QStringLiteral("från Host"));
    }

    void callbacksFireFromTheEventLoopInOrder()
    {
        run(QStringLiteral("var calls = []; Host.after(40, function () { calls.push('late'); });"
                           "Host.after(0, function () { calls.push('soon'); Host.processEvents(0); });"
                           "Host.after(5, function () { throw new Error('callback broke'); });"));
        QCOMPARE(run(QStringLiteral("calls.length")).toInt32(), 0);
        run(QStringLiteral("Host.processEvents(100)"));
        QCOMPARE(run(QStringLiteral("calls.join()")).toString(), QStringLiteral("soon,late"));
        QCOMPARE(m_api->failedCallbacks(), 1);
    }

    void grabWritesPngsOfTheWidgetSize()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("edit.png"));
        QVERIFY(run(QStringLiteral("Host.grab(e, '%1')").arg(file)).toBool());
        QCOMPARE(QImage(file).size(), m_edit->size());
        QVERIFY(run(QStringLiteral("Host.grab(null, '%1')").arg(file)).toBool());
        QCOMPARE(QImage(file).size(), m_window->size());
        QVERIFY(!run(QStringLiteral("Host.grab(e, '%1')").arg(dir.filePath(QStringLiteral("missing/edit.png")))).toBool());
    }

private:
    QScriptValue run(const QString& program)
    {
        const QScriptValue result = m_engine->evaluate(program);
        if (m_engine->hasUncaughtException())
            qWarning("%s", qPrintable(m_engine->uncaughtException().toString()));
        return result;
    }

    BUIAPP_Application m_application;
    std::unique_ptr<QMainWindow> m_window;
    QTextEdit* m_edit = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    std::unique_ptr<QScriptEngine> m_engine;
    std::unique_ptr<HostScriptApi> m_api;
};

QTEST_MAIN(TestHostUiAutomation)
#include "tst_HostUiAutomation.moc"
