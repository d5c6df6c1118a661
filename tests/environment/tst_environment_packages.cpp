// Where Python finds packages in the host: the add-on folder as a site directory, a virtual
// environment, the installation's own site-packages on request, and nothing by accident.
#include "support/ProcessRun.h"
#include "support/TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class tst_environment_packages : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString pythonVersion;

    ProcessRun run(const QStringList& args, const QString& settings = QString())
    {
        return ProcessRun::bellwick(settings.isEmpty() ? folder.filePath("prefs.ini") : settings,
                                    QStringList{"--special-folder", folder.filePath("special")} + args, folder.path(), environment);
    }

    // Whether the build's Python can import module with its own site-packages.
    static bool installed(const QString& module)
    {
        return ProcessRun(BELLWICK_TEST_PYTHON, {"-c", "import " + module}, QString()).exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        environment.insert("XDG_RUNTIME_DIR", folder.path());
        const ProcessRun version(BELLWICK_TEST_PYTHON, {"-c", "import sys; print('%d.%d' % sys.version_info[:2])"}, QString());
        pythonVersion = QString::fromUtf8(version.out()).trimmed();
        QVERIFY(!pythonVersion.isEmpty());
    }

    // A package installed with pip --target into the add-on folder: its .pth files count, and a
    // namespace package spread over two folders imports as one. The folder stays first (after
    // the '' that -c puts before everything for its run, as python does).
    void theAddOnFolderIsASiteDirectory()
    {
        const QString addOn = folder.filePath("special/python-packages");
        writeFile(addOn + "/extra.pth", (folder.filePath("elsewhere") + "\n").toUtf8());
        writeFile(folder.filePath("elsewhere/farmod.py"), "VALUE = 'far'\n");
        writeFile(addOn + "/space/one.py", "NAME = 'one'\n");
        writeFile(folder.filePath("elsewhere/space/two.py"), "NAME = 'two'\n");
        const ProcessRun result = run({"-c", "import sys, farmod, space.one, space.two\n"
                                             "print(farmod.VALUE, space.one.NAME, space.two.NAME)\n"
                                             "print([entry for entry in sys.path if entry][0].endswith('python-packages'))"});
        QCOMPARE(result.err(), QByteArray());
        QCOMPARE(result.out(), QByteArray("far one two\nTrue\n"));
    }

    // The environment's own variables add nothing to the path.
    void pythonPathIsIgnored()
    {
        writeFile(folder.filePath("frompath/pathmod.py"), "\n");
        QProcessEnvironment withPath = environment;
        withPath.insert("PYTHONPATH", folder.filePath("frompath"));
        const ProcessRun result = ProcessRun::bellwick(folder.filePath("prefs.ini"), {"-c", "import pathmod"}, folder.path(), withPath);
        QCOMPARE(result.exitCode(), 1);
        QVERIFY2(result.err().contains("No module named 'pathmod'"), result.err().constData());
    }

    // A venv made by the build's Python, holding a package the test writes, imports with --venv or
    // the preference; its interpreter is not what runs.
    void aVirtualEnvironmentImports_data()
    {
        QTest::addColumn<bool>("byOption");
        QTest::newRow("--venv") << true;
        QTest::newRow("the preference PYTHON_VIRTUAL_ENV") << false;
    }

    void aVirtualEnvironmentImports()
    {
        QFETCH(bool, byOption);
        const QString venv = folder.filePath("venv");
        if (!QFileInfo::exists(venv + "/pyvenv.cfg")) {
            const ProcessRun made(BELLWICK_TEST_PYTHON, {"-m", "venv", "--without-pip", venv}, folder.path());
            if (made.exitCode() != 0)
                QSKIP(qPrintable("the build's Python cannot make a venv (Debian: python3-venv): " + QString::fromUtf8(made.err())));
            writeFile(venv + "/lib/python" + pythonVersion + "/site-packages/tinypkg/__init__.py", "VALUE = 42\n");
        }
        const QString code = "import sys, tinypkg\nprint(tinypkg.VALUE, sys.executable.startswith(sys.argv[1]))";
        const QString settings = folder.filePath("venv.ini");
        if (!byOption)
            writeFile(settings, QString("[General]\nPYTHON_VIRTUAL_ENV=%1\n").arg(venv).toUtf8());
        const QStringList venvOption = byOption ? QStringList{"--venv", venv} : QStringList();
        const ProcessRun result = run(venvOption + QStringList{"-c", code, "--", venv}, settings);
        QCOMPARE(result.err(), QByteArray());
        QCOMPARE(result.out(), QByteArray("42 False\n"));
    }

    // A venv of another Python is not used, and the message names both versions.
    void aVenvOfAnotherVersionIsRefused()
    {
        const QString venv = folder.filePath("oldvenv");
        writeFile(venv + "/pyvenv.cfg", "home = /opt/python2.7/bin\nversion = 2.7.18\n");
        writeFile(venv + "/lib/python" + pythonVersion + "/site-packages/oldpkg.py", "\n");
        const ProcessRun result = run({"--venv", venv, "-c", "import oldpkg"});
        QCOMPARE(result.exitCode(), 1);
        const QString said = QString::fromUtf8(result.err());
        QVERIFY2(said.contains(QRegularExpression("virtual environment .*oldvenv is not used: it was made for Python 2\\.7, and Python "
                                                  + QRegularExpression::escape(pythonVersion) + " runs here")),
                 qPrintable(said));
        QVERIFY2(said.contains("No module named 'oldpkg'"), qPrintable(said));
    }

    // A module of the installation's site-packages: missing, with a hint, until they are on.
    void theInstallationsPackagesOnRequest_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::newRow("off: the hint") << QStringList() << 1;
        QTest::newRow("--site-packages") << QStringList{"--site-packages"} << 0;
    }

    void theInstallationsPackagesOnRequest()
    {
        if (!installed("numpy"))
            QSKIP("numpy is not installed for the build's Python (Debian: python3-numpy)");
        QFETCH(QStringList, options);
        const ProcessRun result = run(options + QStringList{"-c", "import numpy.linalg"});
        QTEST(result.exitCode(), "status");
        const QStringList lines = QString::fromUtf8(result.err()).split('\n', Qt::SkipEmptyParts);
        if (result.exitCode() == 0) {
            QCOMPARE(lines, QStringList());
            return;
        }
        QCOMPARE(lines.value(lines.size() - 2), QStringLiteral("ModuleNotFoundError: No module named 'numpy'"));
        QVERIFY2(lines.last().contains(QRegularExpression("^Hint: 'numpy' is installed in /.+, .*PYTHON_SITE_PACKAGES.*--site-packages")),
                 qPrintable(lines.last()));
    }

    // The console's traceback carries the hint too.
    void theHintInTheConsole()
    {
        if (!installed("numpy"))
            QSKIP("numpy is not installed for the build's Python (Debian: python3-numpy)");
        const QString script = writeFile(folder.filePath("hint.js"),
                                         "var editor = Host.widgets('PythonScriptConsoleTextEdit')[0];\n"
                                         "Host.mouseClick(editor, 10, 10);\n"
                                         "Host.keyClicks(editor, 'import numpy');\n"
                                         "Host.keyClick(editor, 'Return', '');\n"
                                         "Host.print(editor.plainText);\n");
        const ProcessRun result = run({"--window", "--script", script});
        QCOMPARE(result.exitCode(), 0);
        const QString console = QString::fromUtf8(result.out());
        QVERIFY2(console.contains(QRegularExpression("ModuleNotFoundError: No module named 'numpy'\nHint: 'numpy' is installed in /")),
                 qPrintable(console));
    }
};

QTEST_GUILESS_MAIN(tst_environment_packages)
#include "tst_environment_packages.moc"
