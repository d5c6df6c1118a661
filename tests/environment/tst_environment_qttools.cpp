// A Qt tool made with PyQt6 in the host's window: docked, clicked with real events, its dock's
// place kept; matplotlib figures as host windows; and a clean exit.
#include "support/BellwickRun.h"
#include "support/ProcessRun.h"
#include "support/TestFiles.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class tst_environment_qttools : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

    // A headless run of bellwick with its own preferences; platform: the Qt platform plug-in.
    ProcessRun headless(const QString& settings, const QStringList& args, const QString& platform = QStringLiteral("offscreen"))
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", folder.path());
        environment.insert("QT_QPA_PLATFORM", platform);
        return ProcessRun::bellwick(folder.filePath(settings), args, folder.path(), environment);
    }

    static bool importable(const QString& module)
    {
        return ProcessRun(BELLWICK_TEST_PYTHON, {"-c", "import " + module}, QString()).exitCode() == 0;
    }

private slots:
    void aDockedToolInTheConsolesSession()
    {
        if (!importable("PyQt6.QtWidgets"))
            QSKIP("PyQt6 is not installed for the build's Python (Debian: python3-pyqt6)");
        const bool withMatplotlib = importable("matplotlib");
        QFile checks(QFINDTESTDATA("scripts/counter_tool.js"));
        QVERIFY(checks.open(QIODevice::ReadOnly));
        const QString script = writeFile(folder.filePath("counter.js"),
                                         QString("var toolFile = '%1';\nvar withMatplotlib = %2;\n")
                                                 .arg(QFINDTESTDATA("scripts/counter_tool.py"), withMatplotlib ? "true" : "false")
                                                 .toUtf8()
                                             + checks.readAll());
        const QString settings = folder.filePath("settings.ini");
        const BellwickRun run({"--window", "--site-packages", "--settings", settings, "--script", script});
        QVERIFY2(run.finished(), "the host ended abnormally");
        QVERIFY2(run.exitCode() == 0, qPrintable(run.errorText() + run.messages(2).join('\n')));
        QVERIFY(run.outputLines().contains("qt tool checks passed"));
        // The slot ran outside the console's own code: its output is in the host's log.
        QVERIFY(run.messages(7).contains("[PY STDOUT] : clicked"));
        if (!withMatplotlib)
            QSKIP("matplotlib is not installed for the build's Python (Debian: python3-matplotlib)");
    }

    // Without a binding built for the host's Qt, bellwick's Qt functions raise an ImportError
    // that names the Qt of each side; nothing crashes. The installation's packages are off here,
    // so PyQt6 cannot be found; a stand-in binding says it was built for Qt 5.
    void aBindingThatDoesNotFitIsRefused()
    {
        const ProcessRun run = headless(
            "binding.ini",
            {"-c", "import bellwick\n"
                   "stand_in = lambda: bellwick.Binding('QtFive', '5.15.2', None, None, None, None, None, None)\n"
                   "bellwick.BINDINGS.insert(0, ('QtFive', stand_in))\n"
                   "try:\n"
                   "    bellwick.add_dock('Tool', None)\n"
                   "except ImportError as error:\n"
                   "    print(error)\n"});
        QCOMPARE(run.exitCode(), 0);
        const QString said = QString::fromUtf8(run.out());
        QVERIFY2(said.contains("which runs Qt " + QString(qVersion())), qPrintable(said));
        QVERIFY2(said.contains("QtFive is built for Qt 5.15.2"), qPrintable(said));
        QVERIFY2(said.contains("PyQt6 cannot be imported"), qPrintable(said));
    }

    // A Qt object the bridge hands out (its "js" object) becomes its PyQt6 object and back; what
    // the host does not know, or what is no Qt object, is refused with an error, not a crash.
    void bridgeObjectsToPyQtAndBack_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("printed");
        QTest::newRow("round trip") << "q = bellwick.to_pyqt(js)\nprint(type(q).__name__, bellwick.from_pyqt(q) is js)"
                                    << QByteArray("QObject True\n");
        QTest::newRow("an object the host does not know")
            << "from PyQt6 import QtCore\ntry:\n    bellwick.from_pyqt(QtCore.QObject())\nexcept ValueError as error:\n    print(error)"
            << QByteArray("not a Qt object the host knows\n");
        QTest::newRow("no Qt object") << "try:\n    bellwick.to_pyqt(42)\nexcept TypeError as error:\n    print(error)"
                                      << QByteArray("expected a live Qt object of the host, not int\n");
    }

    void bridgeObjectsToPyQtAndBack()
    {
        if (!importable("PyQt6.QtWidgets"))
            QSKIP("PyQt6 is not installed for the build's Python (Debian: python3-pyqt6)");
        QFETCH(QString, code);
        const ProcessRun run = headless("bridge.ini", {"--site-packages", "-c", "import bellwick\n" + code});
        QTEST(run.out(), "printed");
    }

    // Widgets and figures made in Python and left open go before the interpreter does: the
    // host exits cleanly.
    void leftOpenAtExit_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("code");
        QTest::newRow("a widget and a dialog") << "PyQt6.QtWidgets"
                                               << "from PyQt6 import QtWidgets\n"
                                                  "class Tool(QtWidgets.QWidget):\n"
                                                  "    def closeEvent(self, event):\n"
                                                  "        print('closing')\n"
                                                  "tool = Tool()\ntool.show()\ndialog = QtWidgets.QDialog(tool)\ndialog.show()";
        QTest::newRow("a QtAgg figure") << "matplotlib"
                                        << "import matplotlib\nmatplotlib.use('QtAgg')\nimport matplotlib.pyplot as plt\n"
                                           "plt.plot([1, 2])\nplt.show(block=False)";
    }

    void leftOpenAtExit()
    {
        QFETCH(QString, module);
        QFETCH(QString, code);
        if (!importable(module))
            QSKIP(qPrintable(module + " is not installed for the build's Python (Debian: python3-pyqt6, python3-matplotlib)"));
        const ProcessRun run = headless("exit.ini", {"--site-packages", "-c", code}, "minimal");
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
        // The platform may say what it cannot do; no exit handler may fail.
        QVERIFY2(!run.err().contains("Error"), run.err().constData());
    }

    // The README's example docks its PyQt6 tool and matplotlib plot without an error.
    void theExampleRuns()
    {
        for (const char* module : {"PyQt6.QtWidgets", "numpy", "matplotlib"}) {
            if (!importable(module))
                QSKIP(qPrintable(QString("%1 is not installed for the build's Python (Debian: python3-pyqt6, python3-numpy, "
                                         "python3-matplotlib)").arg(module)));
        }
        const BellwickRun run({"--window", "--site-packages", "--settings", folder.filePath("example.ini"), "--python", "examples/qt_tools.py"},
                              qEnvironmentVariable("BELLWICK_SOURCE_DIR"));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messages(2), QStringList());
    }

    // The dock is saved with the window's layout like the host's own docks.
    void theDocksPlaceIsSaved()
    {
        if (!importable("PyQt6.QtWidgets"))
            QSKIP("PyQt6 is not installed for the build's Python (Debian: python3-pyqt6)");
        const QString settings = folder.filePath("settings.ini");
        QVERIFY(QFileInfo::exists(settings));
        const QByteArray state = QByteArray::fromBase64(QSettings(settings, QSettings::IniFormat).value("bellwick/mainWindowState").toByteArray());
        // Qt's data streams write a QString as big-endian UTF-16.
        QByteArray name;
        for (const QChar c : QStringLiteral("PythonTool:Counter"))
            name += QByteArray{char(c.unicode() >> 8), char(c.unicode() & 0xff)};
        QVERIFY(state.contains(name));
    }
};

QTEST_GUILESS_MAIN(tst_environment_qttools)
#include "tst_environment_qttools.moc"
