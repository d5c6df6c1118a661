#pragma once

#include <LXWidgetLayoutView.h>

class QFileSystemWatcher;
class QListView;
class QStandardItemModel;

// The "Python Scripts" layout view: the Python files of the host's scripts folder, those loaded
// as modules on a coloured background. It follows the folder on disk and the console's runs.
// Its actions are its slots and work on the selected script.
class ScriptsView : public LXWidgetLayoutView
{
    Q_OBJECT
public:
    static const QString areaId;
    // The background of scripts loaded as modules.
    static const QColor loadedColor;

    ScriptsView(AC_Manager* actionManager, QWidget* parent, const char* menuIdentity, Qt::WindowFlags flags);

    // The working view of the layout; null when there is none.
    static ScriptsView* inLayout();
    static QString folder();

    LXLayoutView* createView(QWidget* parent) override;
    bool wantsToolbar() const override;
    QDomElement toolbarDefinition() const override;
    QSize sizeHint() const override;

    QListView* listView() const { return list; }
    QStandardItemModel* model() const { return scripts; }
    // The selected script's path; empty when none is selected.
    QString selectedScript() const;
    // Selects the script with that path, when listed.
    void selectScript(const QString& filePath);

public slots:
    void refresh();
    void openScript();
    void runScript();
    void loadScript();
    void showFolder();
    void newScript();

private:
    void buildView();
    void watchFolders();

    QListView* list = nullptr;
    QStandardItemModel* scripts = nullptr;
    QFileSystemWatcher* watcher = nullptr;
};
