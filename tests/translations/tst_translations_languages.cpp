// bellwick speaks the language asked for with --language, else the user's (the locale
// variables), in the Python start-up log, the console banner and the window; a language it has
// no translation for leaves every text exactly as written.
#include "support/BellwickRun.h"
#include "support/TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The start-up log of one run; %1 and %2 stand for any path.
const QStringList englishStartUp{"      Setting Python Path: %1 ", "      Loaded Python from %1.", "",
                                 "Python detected\n\tPython executable: %1\n\tPython home: %2", "Python script plugin initialized.\n"};
const QStringList frenchStartUp{"      Chemin de recherche de Python : %1 ", "      Python chargé depuis %1.", "",
                                "Python détecté\n\tExécutable Python : %1\n\tDossier racine de Python : %2",
                                "Module d'extension de script Python initialisé.\n"};
}

class tst_translations_languages : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void startUpLogSpeaksTheChosenLanguage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("french");
        QTest::newRow("--language fr") << QStringList{"--language", "fr"} << "C.UTF-8" << "" << true;
        QTest::newRow("--language fr_CA: French of France") << QStringList{"--language", "fr_CA"} << "C.UTF-8" << "" << true;
        QTest::newRow("--language de: no translation") << QStringList{"--language", "de"} << "C.UTF-8" << "" << false;
        QTest::newRow("French locale") << QStringList() << "fr_FR.UTF-8" << "" << true;
        QTest::newRow("LANGUAGE before the locale") << QStringList() << "fr_FR.UTF-8" << "en" << false;
        QTest::newRow("--language en over a French locale") << QStringList{"--language", "en"} << "fr_FR.UTF-8" << "" << false;
    }

    void startUpLogSpeaksTheChosenLanguage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, lang);
        QFETCH(QString, language);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(name);
        environment.insert("LANG", lang);
        if (!language.isEmpty())
            environment.insert("LANGUAGE", language);
        const BellwickRun run(args + QStringList{"-c", "pass"}, QString(), environment);
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.outputLines(), QStringList());
        QFETCH(bool, french);
        // The plug-in's one line of standard output follows, untranslated, in a headless run.
        const QStringList expected = (french ? frenchStartUp : englishStartUp) + QStringList{"Python Manager Callback Registration."};
        QCOMPARE(run.pythonInitLines().size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const QString pattern = QRegularExpression::escape(expected.at(i)).replace(QRegularExpression("\\\\%\\d"), ".+");
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(run.pythonInitLines().at(i)).hasMatch(),
                     qPrintable(run.pythonInitLines().at(i)));
        }
    }

    void windowAndConsoleBanner_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("as written") << QStringList() << QStringList{"Python Loaded: ", "Executable: ", "Python Script Console", "&File,&Edit,&Window"};
        QTest::newRow("--language fr") << QStringList{"--language", "fr"}
                                       << QStringList{"Python chargé : ", "Exécutable : ", "Console de script Python", "&Fichier,É&dition,Fe&nêtre"};
    }

    void windowAndConsoleBanner()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, texts);
        const QString script = writeFile(folder.filePath("banner.js"), R"(
            Host.print(Host.widgets('PythonScriptConsoleTextEdit')[0].plainText.split('\n').join('|'));
            Host.print(Host.widgets('QDockWidget').map(function (d) { return d.windowTitle; }).join());
            Host.print(Host.widgets('QMenu').map(function (m) { return m.title; }).slice(0, 3).join());
        )");
        const BellwickRun run(args + QStringList{"--window", "--settings", folder.filePath("settings.ini"), "--script", script});
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.outputLines().size(), 4);
        // The banner: its first line, an empty line, then the interpreter's version and executable.
        const QStringList banner = run.outputLines().at(1).split('|');
        QCOMPARE(banner.mid(0, 2), (QStringList{texts.at(0), ""}));
        QVERIFY2(banner.value(2).startsWith("Python 3."), qPrintable(run.outputLines().at(1)));
        QVERIFY2(banner.value(3).startsWith(texts.at(1)), qPrintable(run.outputLines().at(1)));
        QVERIFY2(run.outputLines().at(2).split(',').contains(texts.at(2)), qPrintable(run.outputLines().at(2)));
        QCOMPARE(run.outputLines().at(3), texts.at(3));
    }
};

QTEST_GUILESS_MAIN(tst_translations_languages)
#include "tst_translations_languages.moc"
