#include "LXLayoutView.h"

#include "AC_Menu.h"

#include <QWidget>

LXLayoutView::LXLayoutView(const QString& viewName, const char* menuIdentity)
    : m_viewName(viewName), m_menuIdentity(menuIdentity ? QString::fromUtf8(menuIdentity) : QString())
{
}

LXLayoutView::~LXLayoutView()
{
    for (const QPointer<AC_Menu>& menu : std::as_const(m_menus)) {
        if (menu && !menu->parent())
            delete menu.data();
    }
}

QWidget* LXLayoutView::getParentHolderWidget()
{
    QWidget* own = widget();
    return own ? own->parentWidget() : nullptr;
}

void LXLayoutView::setMenu(AC_Menu* menu, int menuType)
{
    AC_Menu* previous = m_menus.value(menuType);
    if (previous && previous != menu)
        delete previous;
    m_menus.insert(menuType, menu);
}

AC_Menu* LXLayoutView::menu(int menuType) const
{
    return m_menus.value(menuType);
}

QDomElement LXLayoutView::toolbarDefinition() const
{
    return QDomElement();
}
