#pragma once

#include "BellwickHostExport.h"

#include <QMenu>

// A menu built by AC_Manager from a menu element.
class BELLWICK_HOST_EXPORT AC_Menu : public QMenu
{
    Q_OBJECT
public:
    AC_Menu(const QString& identity, const QString& title, QWidget* parent = nullptr);

    const QString& identity() const { return m_identity; }
    // The action of this menu or one of its sub-menus made from the element with this id.
    QAction* findAction(const QString& actionId) const;

private:
    QString m_identity;
};
