#pragma once

#include "BellwickHostExport.h"

#include <QStringList>

class AC_Manager;
class AC_Responder;
class QDomElement;
class QToolBar;
class QWidget;

// Builds toolbars from toolbar elements.
//
// Toolbar format (the element's own tag does not matter):
//   <toolbar id="ConsoleToolbar" text="Console">
//     <item id="clear" text="Clear" icon="clear.svg" action="clear"
//           responder="SomeResponder" default="true"/>
//     <separator id="sep1" default="true"/>
//   </toolbar>
// "action" defaults to the item id. An item without "responder" is performed as a menu action
// without one is (see AC_Manager), at the responder given to createToolbar.
class BELLWICK_HOST_EXPORT LXToolbarService
{
public:
    explicit LXToolbarService(AC_Manager* actionManager);

    // A toolbar with the items of definition named by itemIds, in that order (unknown ids are
    // skipped). Null for a null definition.
    QToolBar* createToolbar(const QDomElement& definition, const QStringList& itemIds,
                            AC_Responder* responder, QWidget* parent) const;
    // The ids of the items marked default="true".
    static QStringList defaultItems(const QDomElement& definition);

private:
    AC_Manager* m_actionManager;
};
