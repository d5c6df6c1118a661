#include "LXLayoutManager.h"

#include "AC_Menu.h"
#include "AC_Responder.h"
#include "LXLayoutView.h"
#include "LXToolbarService.h"
#include "PLUG_Services.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>

LXLayoutManager::LXLayoutManager(PR_Preference* preferences, QObject* parent)
    : QObject(parent), m_storage(preferences)
{
}

LXLayoutManager::~LXLayoutManager()
{
    for (const LXPluginArea& area : std::as_const(m_areas))
        delete area.prototype;
}

bool LXLayoutManager::addPluginArea(const QString& areaId, const QString& title, LXLayoutView* prototype,
                                    bool listedInWindowMenu, bool startFloating, bool startHidden,
                                    const QSize& preferredSize, bool singleView, bool hideTitleBar, bool keepOnTop)
{
    const bool known = std::any_of(m_areas.cbegin(), m_areas.cend(),
                                   [&areaId](const LXPluginArea& area) { return area.areaId == areaId; });
    if (!prototype || areaId.isEmpty() || known) {
        delete prototype;
        return false;
    }
    const LXPluginArea area{areaId, title, prototype, listedInWindowMenu, startFloating, startHidden,
                            preferredSize, singleView, hideTitleBar, keepOnTop};
    m_areas.append(area);
    if (m_mainWindow)
        createDock(area);
    emit areaAdded(areaId);
    return true;
}

void LXLayoutManager::setMainWindow(QMainWindow* window)
{
    m_mainWindow = window;
    if (!window)
        return;
    for (const LXPluginArea& area : std::as_const(m_areas)) {
        if (!dock(area.areaId))
            createDock(area);
    }
}

QDockWidget* LXLayoutManager::dock(const QString& areaId) const
{
    return m_docks.value(areaId).dock;
}

LXLayoutView* LXLayoutManager::view(const QString& areaId) const
{
    const AreaDock areaDock = m_docks.value(areaId);
    return areaDock.dock ? areaDock.view : nullptr;
}

void LXLayoutManager::saveScene()
{
    emit sceneSaved();
}

// The dock shows, from top to bottom: the view's menu bar, its toolbar and the view.
void LXLayoutManager::createDock(const LXPluginArea& area)
{
    auto* areaDock = new QDockWidget(area.title, m_mainWindow);
    areaDock->setObjectName(area.areaId);
    auto* container = new QWidget(areaDock);
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);

    LXLayoutView* areaView = area.prototype->createView(container);
    QWidget* viewWidget = areaView ? areaView->widget() : nullptr;
    if (viewWidget) {
        if (AC_Menu* viewMenu = areaView->menu(0)) {
            auto* menuBar = new QMenuBar(container);
            menuBar->addMenu(viewMenu);
            layout->addWidget(menuBar);
        }
        if (areaView->wantsToolbar())
            addToolbar(area.areaId, areaView, layout);
        layout->addWidget(viewWidget);
    }
    areaDock->setWidget(container);
    if (area.hideTitleBar)
        areaDock->setTitleBarWidget(new QWidget(areaDock));
    if (area.preferredSize.isValid())
        container->resize(area.preferredSize);
    m_mainWindow->addDockWidget(Qt::RightDockWidgetArea, areaDock);
    areaDock->setFloating(area.startFloating);
    areaDock->setVisible(!area.startHidden);
    m_docks.insert(area.areaId, {areaDock, viewWidget ? areaView : nullptr});
}

void LXLayoutManager::addToolbar(const QString& areaId, LXLayoutView* areaView, QVBoxLayout* layout)
{
    LXToolbarService* service = PLUG_Services::getToolbarService();
    const QDomElement definition = areaView->toolbarDefinition();
    if (!service || definition.isNull())
        return;
    const QStringList* current = m_storage.getViewToolbarConfig(areaId, false);
    const QStringList items = current ? *current : LXToolbarService::defaultItems(definition);
    auto* responder = dynamic_cast<AC_Responder*>(areaView->widget());
    if (QToolBar* toolbar = service->createToolbar(definition, items, responder, layout->parentWidget()))
        layout->addWidget(toolbar);
}
