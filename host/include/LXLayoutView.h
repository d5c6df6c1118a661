#pragma once

#include "BellwickHostExport.h"

#include <QDomElement>
#include <QMap>
#include <QPointer>
#include <QString>

class AC_Menu;
class QWidget;

// A view of the host's layout. A prototype view is registered with an area; the layout manager
// makes working views from it through createView(parent).
class BELLWICK_HOST_EXPORT LXLayoutView
{
public:
    LXLayoutView(const QString& viewName, const char* menuIdentity);
    virtual ~LXLayoutView();

    virtual LXLayoutView* createView(QWidget* parent) = 0;
    // The widget that shows this view.
    virtual QWidget* widget() = 0;
    // The widget that holds the view in the layout (its dock or container); null when none.
    virtual QWidget* getParentHolderWidget();
    // Whether the layout shows a toolbar for this view (built from toolbarDefinition()).
    virtual bool wantsToolbar() const = 0;
    // Installs the view's menu of the given type (0: the view's main menu). The view owns it.
    virtual void setMenu(AC_Menu* menu, int menuType);
    virtual AC_Menu* menu(int menuType) const;
    // The toolbar element in the toolbar service's format; null when the view has none.
    virtual QDomElement toolbarDefinition() const;

    const QString& viewName() const { return m_viewName; }
    // Empty for a view built without a menu identity (a prototype).
    const QString& menuIdentity() const { return m_menuIdentity; }

    LXLayoutView(const LXLayoutView&) = delete;
    LXLayoutView& operator=(const LXLayoutView&) = delete;

private:
    QString m_viewName;
    QString m_menuIdentity;
    QMap<int, QPointer<AC_Menu>> m_menus;
};
