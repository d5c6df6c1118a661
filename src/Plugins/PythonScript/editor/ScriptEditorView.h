#pragma once

#include "editor/ScriptEditorSession.h"

#include <LXWidgetLayoutView.h>

class QFileSystemWatcher;
class QMenu;
class QTabWidget;
class ScriptCodeEditor;
class ScriptFindBar;

// The "Python Script Editor" layout view: one tab per file. Its actions are its slots. Open tabs,
// cursor positions and recent files come back in the next session.
class ScriptEditorView : public LXWidgetLayoutView
{
    Q_OBJECT
public:
    static const QString areaId;

    ScriptEditorView(AC_Manager* actionManager, QWidget* parent, const char* menuIdentity, Qt::WindowFlags flags);
    ~ScriptEditorView() override;

    // The working view of the layout; null when there is none.
    static ScriptEditorView* inLayout();

    LXLayoutView* createView(QWidget* parent) override;
    bool wantsToolbar() const override;
    QDomElement toolbarDefinition() const override;
    QSize sizeHint() const override;

    // Shows the file (opening it when no tab has it) at line (from 1; 0 keeps the cursor).
    // Null when the file cannot be read; the user is told why.
    ScriptCodeEditor* openFile(const QString& filePath, int line = 0);
    ScriptCodeEditor* currentEditor() const;
    QTabWidget* tabWidget() const { return tabs; }
    ScriptFindBar* findBar() const { return finder; }
    QMenu* recentFilesMenu() const { return recentMenu; }

public slots:
    void newFile();
    void open();
    bool save();
    bool saveAs();
    bool closeTab();
    void runFile();
    void runSelection();
    void find();
    void goToLine();
    void toggleComment();
    void indent();
    void dedent();
    // Asks about every tab with unsaved edits; false when the user cancels. Keeps the session.
    bool confirmClose();

private:
    void buildView();
    void addMenu();
    ScriptCodeEditor* addEditor(const QString& filePath, const QByteArray& content);
    // Shows content; bytes that are not UTF-8 are shown read-only, since saving would change them.
    void showContent(ScriptCodeEditor* editor, const QByteArray& content);
    bool saveEditor(ScriptCodeEditor* editor, const QString& filePath);
    bool closeEditor(int index);
    // Save, discard or cancel for an editor with unsaved edits; true unless cancelled.
    bool settleUnsaved(ScriptCodeEditor* editor);
    void runCode(const QString& code);
    void onFileChanged(const QString& filePath);
    void reload(ScriptCodeEditor* editor, const QByteArray& content);
    void updateTabTitle(ScriptCodeEditor* editor);
    void rememberRecent(const QString& filePath);
    void fillRecentMenu();
    void restoreSession();
    void saveSession();
    ScriptCodeEditor* editorAt(int index) const;
    ScriptCodeEditor* editorOf(const QString& filePath) const;

    QTabWidget* tabs = nullptr;
    ScriptFindBar* finder = nullptr;
    QFileSystemWatcher* watcher = nullptr;
    QMenu* recentMenu = nullptr;
    ScriptEditorSession session;
};
