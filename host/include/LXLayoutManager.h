#pragma once

#include "LXLayoutStorage.h"
#include "LXPluginArea.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QDockWidget>

class LXLayoutView;
class QMainWindow;
class QVBoxLayout;

// The host's layout: the areas plug-ins add, and, once a main window is given, one dock per area
// showing a working view made by the area's prototype, with the view's menu and toolbar.
class BELLWICK_HOST_EXPORT LXLayoutManager : public QObject
{
    Q_OBJECT
public:
    explicit LXLayoutManager(PR_Preference* preferences, QObject* parent = nullptr);
    ~LXLayoutManager() override;

    // Takes ownership of prototype. False (and prototype deleted) for a null prototype, an empty
    // or already used area id.
    bool addPluginArea(const QString& areaId, const QString& title, LXLayoutView* prototype,
                       bool listedInWindowMenu, bool startFloating, bool startHidden,
                       const QSize& preferredSize, bool singleView, bool hideTitleBar, bool keepOnTop);
    const QList<LXPluginArea>& areas() const { return m_areas; }

    LXLayoutStorage* layoutStorage() { return &m_storage; }

    // Areas added before and after this call get their docks in window.
    void setMainWindow(QMainWindow* window);
    QDockWidget* dock(const QString& areaId) const;
    // The working view of an area; null before the area has a dock.
    LXLayoutView* view(const QString& areaId) const;

    // Tells views that the scene was saved.
    void saveScene();

signals:
    void sceneSaved();
    void areaAdded(const QString& areaId);

private:
    void createDock(const LXPluginArea& area);
    void addToolbar(const QString& areaId, LXLayoutView* areaView, QVBoxLayout* layout);

    LXLayoutStorage m_storage;
    QList<LXPluginArea> m_areas;
    QMainWindow* m_mainWindow = nullptr;
    struct AreaDock
    {
        QPointer<QDockWidget> dock;
        LXLayoutView* view = nullptr; // a child of the dock; valid while the dock lives
    };
    QHash<QString, AreaDock> m_docks;
};
