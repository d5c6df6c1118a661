// bellwick speaks the language asked for with --language, else the user's (the locale
// variables), in the Python start-up log, the console banner and the window; a language it has
// no translation for leaves every text exactly as written.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int status = -1;
    QStringList out;
    QStringList pythonInit;
};

// The start-up log of one run, as its JSON lines give it; %1 and %2 stand for any path.
const QStringList englishStartUp{
    QStringLiteral("      Setting Python Path: %1 "),
    QStringLiteral("      Loaded Python from %1."),
    QString(),
    QStringLiteral("Python detected\n\tPython executable: %1\n\tPython home: %2"),
    QStringLiteral("Python script plugin initialized.\n"),
};
const QStringList frenchStartUp{
    QStringLiteral("      Chemin de recherche de Python : %1 "),
    QStringLiteral("      Python chargé depuis %1."),
    QString(),
    QStringLiteral("Python détecté\n\tExécutable Python : %1\n\tDossier racine de Python : %2"),
    QStringLiteral("Module d'extension de script Python initialisé.\n"),
};

bool matches(const QString& text, const QString& pattern)
{
    QStringList pieces = pattern.split(QRegularExpression(QStringLiteral("%\\d")));
    for (QString& piece : pieces)
        piece = QRegularExpression::escape(piece);
    const QRegularExpression expression(QRegularExpression::anchoredPattern(pieces.join(QStringLiteral(".+"))));
    return expression.match(text).hasMatch();
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void startUpLogSpeaksTheChosenLanguage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("french");

        const QStringList none;
        const QStringList fr{QStringLiteral("--language"), QStringLiteral("fr")};
        QTest::newRow("C locale") << none << QStringLiteral("C.UTF-8") << QString() << false;
        QTest::newRow("--language fr") << fr << QStringLiteral("C.UTF-8") << QString() << true;
        QTest::newRow("--language fr_CA: French of France")
            << QStringList{QStringLiteral("--language"), QStringLiteral("fr_CA")} << QStringLiteral("C.UTF-8")
            << QString() << true;
        QTest::newRow("--language de: no translation")
            << QStringList{QStringLiteral("--language"), QStringLiteral("de")} << QStringLiteral("C.UTF-8")
            << QString() << false;
        QTest::newRow("French locale") << none << QStringLiteral("fr_FR.UTF-8") << QString() << true;
        QTest::newRow("LANGUAGE before the locale") << none << QStringLiteral("fr_FR.UTF-8") << QStringLiteral("en")
                                                    << false;
        QTest::newRow("--language en over a French locale")
            << QStringList{QStringLiteral("--language"), QStringLiteral("en")} << QStringLiteral("fr_FR.UTF-8")
            << QString() << false;
    }

    void startUpLogSpeaksTheChosenLanguage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, lang);
        QFETCH(QString, language);
        QFETCH(bool, french);

        const Run run = bellwick(args + QStringList{QStringLiteral("-c"), QStringLiteral("pass")}, lang, language);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringList{QStringLiteral("Python Manager Callback Registration.")});
        const QStringList& expected = french ? frenchStartUp : englishStartUp;
        QCOMPARE(run.pythonInit.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(matches(run.pythonInit.at(i), expected.at(i)), qPrintable(run.pythonInit.at(i)));
    }

    void windowAndConsoleBanner_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("banner");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("consoleTitle");
        QTest::addColumn<QString>("menus");

        QTest::newRow("as written") << QStringList() << QStringLiteral("Python Loaded: ")
                                    << QStringLiteral("Executable: ") << QStringLiteral("Python Script Console")
                                    << QStringLiteral("&File,&Edit,&Window");
        QTest::newRow("--language fr") << QStringList{QStringLiteral("--language"), QStringLiteral("fr")}
                                       << QStringLiteral("Python chargé : ") << QStringLiteral("Exécutable : ")
                                       << QStringLiteral("Console de script Python")
                                       << QStringLiteral("&Fichier,É&dition,Fe&nêtre");
    }

    void windowAndConsoleBanner()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, banner);
        QFETCH(QString, executable);
        QFETCH(QString, consoleTitle);
        QFETCH(QString, menus);

        QFile script(m_dir.filePath(QStringLiteral("banner.js")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(R"(
            Host.print(Host.widgets('PythonScriptConsoleTextEdit')[0].plainText.split('\n').join('|'));
            Host.print(Host.widgets('QDockWidget').map(function (d) { return d.windowTitle; }).join());
            Host.print(Host.widgets('QMenu').map(function (m) { return m.title; }).slice(0, 3).join());
        )");
        script.close();
        const Run run = bellwick(args + QStringList{QStringLiteral("--window"), QStringLiteral("--settings"),
                                                    m_dir.filePath(QStringLiteral("settings.ini")),
                                                    QStringLiteral("--script"), script.fileName()},
                                 QStringLiteral("C.UTF-8"), QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.size(), 4);
        // The banner: its first line, an empty line, then the interpreter's version, executable, home.
        const QStringList lines = run.out.at(1).split(QLatin1Char('|'));
        QCOMPARE(lines.value(0), banner);
        QCOMPARE(lines.value(1), QString());
        QVERIFY2(lines.value(2).startsWith(QLatin1String("Python 3.")), qPrintable(run.out.at(1)));
        QVERIFY2(lines.value(3).startsWith(executable), qPrintable(run.out.at(1)));
        QVERIFY2(run.out.at(2).split(QLatin1Char(',')).contains(consoleTitle), qPrintable(run.out.at(2)));
        QCOMPARE(run.out.at(3), menus);
    }

private:
    // One run with the locale variables set as given (an empty LANGUAGE is left unset).
    Run bellwick(const QStringList& args, const QString& lang, const QString& language) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("LANG"), lang);
        if (!language.isEmpty())
            environment.insert(QStringLiteral("LANGUAGE"), language);

        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QDir(qEnvironmentVariable("BELLWICK_BIN_DIR")).filePath(QStringLiteral("bellwick")),
                      args + QStringList{QStringLiteral("--log"), QStringLiteral("-")});
        Run run;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.status = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QByteArray& line : process.readAllStandardError().split('\n')) {
            const QJsonObject entry = QJsonDocument::fromJson(line).object();
            if (entry.value(QStringLiteral("kind")).toString() == QLatin1String("python-init"))
                run.pythonInit << entry.value(QStringLiteral("text")).toString();
        }
        return run;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
