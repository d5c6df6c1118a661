#include "LXWidgetLayoutView.h"

#include "AC_Menu.h"

LXWidgetLayoutView::LXWidgetLayoutView(AC_Manager* actionManager, const QString& viewName, QWidget* parent,
                                       const char* menuIdentity, Qt::WindowFlags flags)
    : AC_ResponderTemplateWidget<QWidget>(parent, flags, menuIdentity ? QString::fromUtf8(menuIdentity) : viewName),
      LXLayoutView(viewName, menuIdentity)
{
    initActionManager(actionManager);
}

LXWidgetLayoutView::~LXWidgetLayoutView() = default;

void LXWidgetLayoutView::setMenu(AC_Menu* menu, int menuType)
{
    if (menu)
        menu->setParent(this, menu->windowFlags());
    LXLayoutView::setMenu(menu, menuType);
}
