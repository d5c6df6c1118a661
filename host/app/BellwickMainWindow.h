#pragma once

#include <QMainWindow>

class CO_CommandManager;
class LXLayoutManager;
class QMenu;
struct LXPluginArea;

// The reference host's window: a dock per plug-in area (made by the layout manager) and a dock
// listing the host's messages; File, Edit (the command history's undo and redo) and Window (the
// docks) menus. Dock positions and sizes are kept in the preference store from run to run.
class BellwickMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Either manager may be null; the window then goes without the areas or undo and redo.
    BellwickMainWindow(LXLayoutManager* layoutManager, CO_CommandManager* commandManager, QWidget* parent = nullptr);
    ~BellwickMainWindow() override;

protected:
    // A view with unsaved work (an invokable confirmClose() answering false) keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void addFileMenu();
    void addEditMenu(CO_CommandManager* commandManager);
    void addWindowEntry(const LXPluginArea& area);
    // An area added after the window was made: its Window entry and its stored place.
    void addLateArea(const QString& areaId);
    void restoreLayout();
    void saveLayout() const;

    LXLayoutManager* m_layoutManager;
    QMenu* m_windowMenu = nullptr;
    QAction* m_areasEnd = nullptr; // the separator after the areas' entries
};
