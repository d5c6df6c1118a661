// The Scripts dock: the scripts folder's Python files, coloured while loaded as modules, kept
// up to date with the folder on disk and with what the console imports; its actions.
#include "support/ConsoleHost.h"
#include "support/TestFiles.h"

#include "console/PythonScriptConsoleTextEdit.h"
#include "editor/ScriptCodeEditor.h"
#include "editor/ScriptEditorView.h"
#include "editor/ScriptsView.h"

#include <AC_Menu.h>
#include <BAPP_SharedSpecialFolders.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QListView>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class tst_console_scriptsview : public QObject
{
    Q_OBJECT

    QTemporaryDir special;
    std::unique_ptr<ConsoleHost> host;

    ScriptsView* view() const { return ScriptsView::inLayout(); }
    QString script(const QString& name) const { return special.filePath(QStringLiteral("scripts/") + name); }

    QStandardItem* itemOf(const QString& name) const
    {
        const QList<QStandardItem*> found = view()->model()->findItems(name);
        return found.isEmpty() ? nullptr : found.first();
    }

    QColor backgroundOf(const QString& name) const
    {
        QStandardItem* item = itemOf(name);
        return item ? item->background().color() : QColor();
    }

    // A real click on the script's row.
    void clickOn(const QString& name)
    {
        const QRect row = view()->listView()->visualRect(itemOf(name)->index());
        QTest::mouseClick(view()->listView()->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    }

    void trigger(const char* actionId)
    {
        QAction* action = view()->menu(0)->findAction(QLatin1String(actionId));
        QVERIFY(action);
        action->trigger();
    }

private slots:
    void initTestCase()
    {
        QDir(special.path()).mkpath(QStringLiteral("scripts/tools"));
        writeFile(script(QStringLiteral("tool_alpha.py")), "VALUE = 1\n");
        writeFile(script(QStringLiteral("tools/tool_beta.py")), "def twice(x):\n    return 2 * x\n");
        writeFile(script(QStringLiteral("notes.txt")), "not a script\n");
        BAPP_SetSharedSpecialFolders(special.path());
        host = std::make_unique<ConsoleHost>();
        QVERIFY(view());
    }

    void listsTheScriptsOfTheFolder()
    {
        QStringList names;
        for (int row = 0; row < view()->model()->rowCount(); ++row)
            names << view()->model()->item(row)->text();
        names.sort();
        QCOMPARE(names, (QStringList{"tool_alpha", "tool_beta"}));
        QCOMPARE(backgroundOf(QStringLiteral("tool_alpha")), QColor(Qt::transparent));
    }

    // An import typed in the console colours the script; a reload from the dock keeps it so.
    void followsModulesLoadedFromTheConsole()
    {
        PythonScriptConsoleTextEdit* console = host->editor();
        QTest::keyClicks(console, QStringLiteral("import sys; sys.path.insert(0, r'%1'); import tool_beta").arg(script("tools")));
        QTest::keyClick(console, Qt::Key_Return);
        QTRY_COMPARE(backgroundOf(QStringLiteral("tool_beta")), ScriptsView::loadedColor);
        QCOMPARE(backgroundOf(QStringLiteral("tool_alpha")), QColor(Qt::transparent));
    }

    void loadActionLoadsTheSelectedScript()
    {
        clickOn(QStringLiteral("tool_alpha"));
        trigger("loadScript");
        QCOMPARE(backgroundOf(QStringLiteral("tool_alpha")), ScriptsView::loadedColor);
        QCOMPARE(view()->selectedScript(), script(QStringLiteral("tool_alpha.py")));
    }

    void runActionRunsTheSelectedScriptInTheConsole()
    {
        clickOn(QStringLiteral("tool_alpha"));
        trigger("runScript");
        const QString command = QStringLiteral(">>> runfile('%1')\n>>> ").arg(script(QStringLiteral("tool_alpha.py")));
        QVERIFY2(host->editor()->toPlainText().endsWith(command), qPrintable(host->editor()->toPlainText().right(200)));
    }

    // New Script asks for a name, makes the file in the scripts folder and opens it.
    void newScriptMakesAndOpensTheFile()
    {
        QTimer::singleShot(100, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QTest::keyClicks(dialog->findChild<QLineEdit*>(), "fresh");
            QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
        });
        trigger("newScript");
        QVERIFY(QFileInfo(script(QStringLiteral("fresh.py"))).isFile());
        QCOMPARE(view()->selectedScript(), script(QStringLiteral("fresh.py")));
        QCOMPARE(ScriptEditorView::inLayout()->currentEditor()->filePath, script(QStringLiteral("fresh.py")));
    }

    // Files added or removed on disk show up without a refresh by hand.
    void followsTheFolderOnDisk()
    {
        writeFile(script(QStringLiteral("tools/tool_gamma.py")), "\n");
        QTRY_VERIFY(itemOf(QStringLiteral("tool_gamma")));
        QVERIFY(QFile::remove(script(QStringLiteral("tools/tool_gamma.py"))));
        QTRY_VERIFY(!itemOf(QStringLiteral("tool_gamma")));
    }

    void activatingOpensTheEditor()
    {
        clickOn(QStringLiteral("tool_beta"));
        QTest::keyClick(view()->listView(), Qt::Key_Return);
        ScriptEditorView* editor = ScriptEditorView::inLayout();
        QVERIFY(editor->currentEditor());
        QCOMPARE(editor->currentEditor()->filePath, script(QStringLiteral("tools/tool_beta.py")));
    }
};

QTEST_MAIN(tst_console_scriptsview)
#include "tst_console_scriptsview.moc"
