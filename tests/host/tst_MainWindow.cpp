// bellwick's main window: the Window menu's dock entries and the Edit menu's undo and redo.
#include "BellwickMainWindow.h"
#include "CO_CommandManager.h"
#include "LXLayoutManager.h"
#include "LXWidgetLayoutView.h"
#include "PR_Preference.h"

#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

namespace {

class AreaView : public LXWidgetLayoutView
{
public:
    explicit AreaView(QWidget* parent) : LXWidgetLayoutView(nullptr, QStringLiteral("Area"), parent, nullptr) {}
    LXLayoutView* createView(QWidget* parent) override { return new AreaView(parent); }
    bool wantsToolbar() const override { return false; }
};

QMenu* menu(BellwickMainWindow& window, const QString& title)
{
    for (QAction* entry : window.menuBar()->actions()) {
        if (entry->menu() && entry->text() == title)
            return entry->menu();
    }
    return nullptr;
}

QStringList entryTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* entry : menu->actions())
        texts.append(entry->isSeparator() ? QStringLiteral("-") : entry->text());
    return texts;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { lxPref.setStorageFile(m_dir.filePath(QStringLiteral("prefs.ini"))); }

    void windowMenuListsTheAreasThatAskForIt()
    {
        LXLayoutManager layout(&lxPref);
        layout.addPluginArea(QStringLiteral("listed"), QStringLiteral("Listed"), new AreaView(nullptr), true, false, false, QSize(), false, false, false);
        layout.addPluginArea(QStringLiteral("unlisted"), QStringLiteral("Unlisted"), new AreaView(nullptr), false, false, false, QSize(), false, false, false);
        BellwickMainWindow window(&layout, nullptr);
        window.show();
        QMenu* windowMenu = menu(window, QStringLiteral("&Window"));
        QVERIFY(windowMenu);
        QCOMPARE(entryTexts(windowMenu), (QStringList{QStringLiteral("Listed"), QStringLiteral("-"), QStringLiteral("Messages")}));
        layout.addPluginArea(QStringLiteral("late"), QStringLiteral("Late"), new AreaView(nullptr), true, false, false, QSize(), false, false, false);
        QCOMPARE(entryTexts(windowMenu), (QStringList{QStringLiteral("Listed"), QStringLiteral("Late"), QStringLiteral("-"), QStringLiteral("Messages")}));
        QVERIFY(windowMenu->actions().constFirst()->isCheckable());
        windowMenu->actions().constFirst()->trigger();
        QVERIFY(layout.dock(QStringLiteral("listed"))->isHidden());
    }

    void editMenuUndoesThroughTheCommandManager()
    {
        CO_CommandManager commands;
        BellwickMainWindow window(nullptr, &commands);
        const QList<QAction*> entries = menu(window, QStringLiteral("&Edit"))->actions();
        QAction* undo = entries.at(0);
        QAction* redo = entries.at(1);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        commands.execute(new QUndoCommand(QStringLiteral("move")));
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QCOMPARE(commands.undoStack()->index(), 0);
        QVERIFY(!undo->isEnabled() && redo->isEnabled());
        redo->trigger();
        QCOMPARE(commands.undoStack()->index(), 1);

        BellwickMainWindow without(nullptr, nullptr);
        QVERIFY(!menu(without, QStringLiteral("&Edit"))->actions().constFirst()->isEnabled());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
