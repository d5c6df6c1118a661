#include "AC_Menu.h"

AC_Menu::AC_Menu(const QString& identity, const QString& title, QWidget* parent)
    : QMenu(title, parent), m_identity(identity)
{
}

QAction* AC_Menu::findAction(const QString& actionId) const
{
    for (QAction* action : actions()) {
        if (action->objectName() == actionId)
            return action;
        if (auto* subMenu = qobject_cast<AC_Menu*>(action->menu())) {
            if (QAction* found = subMenu->findAction(actionId))
                return found;
        }
    }
    return nullptr;
}
