#pragma once

#include "BellwickHostExport.h"

#include <QMultiHash>
#include <QObject>
#include <QStringList>

class AC_Menu;
class AC_Responder;
class QAction;
class QDomElement;
class QWidget;

// The host's action manager: builds menus from menu elements, keeps the registered responders
// and the resource folders where menu icons are looked up.
//
// Menu format (the element's own tag does not matter):
//   <menu id="Console" text="Console">
//     <action id="clear" text="Clear" icon="clear.svg" shortcut="Ctrl+L"
//             responder="SomeResponder" checkable="false"/>
//     <separator/>
//     <menu id="more" text="More"> ... </menu>
//   </menu>
// Triggering an action performs its id at the registered responder named by "responder", then
// along its parent chain. An action that names no responder is performed at the focus widget of
// the responder given to createMenu first (its argument-less slot named by the id); without such
// a responder, the nearest responder among the menu's ancestors (the view that owns it) stands in.
class BELLWICK_HOST_EXPORT AC_Manager : public QObject
{
    Q_OBJECT
public:
    explicit AC_Manager(QObject* parent = nullptr);
    ~AC_Manager() override;

    // Null for a null element. The menu has parent as its parent widget (may be null).
    virtual AC_Menu* createMenu(const QDomElement& element, AC_Responder* responder, QWidget* parent);
    // Adds a folder for icons and resources; false when it is not an existing folder.
    virtual bool addResourceFolder(const QString& folder);
    const QStringList& resourceFolders() const { return m_resourceFolders; }

    void registerResponder(AC_Responder* responder);
    void unregisterResponder(AC_Responder* responder);
    // The responder registered last under identity; null when none.
    AC_Responder* responder(const QString& identity) const;

    // Performs actionId at the responder named identity, or at fallback when none is registered
    // under that name. Emits actionTriggered; false when nobody performed it.
    bool trigger(const QString& identity, const QString& actionId, AC_Responder* fallback = nullptr);

    // The file of a named icon in the resource folders or the icon manager's folders.
    QString iconPath(const QString& name) const;
    // Gives action the named icon (when one is found) and makes it perform actionId through
    // performBound(). An empty identity stands for the nearest responder among the action's
    // ancestors; focusFirst asks the focus widget of that responder's widget before the responder.
    void bindAction(QAction* action, const QString& iconName, const QString& identity, const QString& actionId,
                    bool focusFirst = false);
    // The responder a bound action performs at; null when there is none or action is not bound.
    AC_Responder* boundResponder(QAction* action) const;
    // The action id of a bound action; empty for other actions.
    static QString boundActionId(const QAction* action);
    // Performs what triggering the bound action performs; false when nobody performed it.
    bool performBound(QAction* action);

signals:
    void actionTriggered(const QString& identity, const QString& actionId, bool performed);

private:
    void fillMenu(AC_Menu* menu, const QDomElement& element, AC_Responder* responder);
    void addAction(AC_Menu* menu, const QDomElement& element, AC_Responder* responder);

    QStringList m_resourceFolders;
    QMultiHash<QString, AC_Responder*> m_responders;
};
