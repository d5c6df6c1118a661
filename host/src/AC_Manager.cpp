#include "AC_Manager.h"

#include "AC_Menu.h"
#include "AC_ResponderTemplate.h"
#include "WID_IconManager.h"

#include <QAction>
#include <QDir>
#include <QDomElement>
#include <QFileInfo>
#include <QKeySequence>

namespace {

// What a bound action performs travels with it, so that it can be found and performed later.
const char* const identityProperty = "acResponder";
const char* const actionIdProperty = "acActionId";
const char* const focusFirstProperty = "acFocusFirst";

} // namespace

AC_Manager::AC_Manager(QObject* parent)
    : QObject(parent)
{
}

AC_Manager::~AC_Manager() = default;

AC_Menu* AC_Manager::createMenu(const QDomElement& element, AC_Responder* responder, QWidget* parent)
{
    if (element.isNull())
        return nullptr;
    auto* menu = new AC_Menu(element.attribute(QStringLiteral("id")), element.attribute(QStringLiteral("text")), parent);
    fillMenu(menu, element, responder);
    return menu;
}

void AC_Manager::fillMenu(AC_Menu* menu, const QDomElement& element, AC_Responder* responder)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("separator"))
            menu->addSeparator();
        else if (tag == QLatin1String("action"))
            addAction(menu, child, responder);
        else if (tag == QLatin1String("menu"))
            menu->addMenu(createMenu(child, responder, menu));
    }
}

void AC_Manager::addAction(AC_Menu* menu, const QDomElement& element, AC_Responder* responder)
{
    const QString actionId = element.attribute(QStringLiteral("id"));
    // Resolved by identity when triggered, so a destroyed responder is never reached.
    const QString named = element.attribute(QStringLiteral("responder"));
    const QString identity = named.isEmpty() && responder ? responder->responderIdentity() : named;
    QAction* action = menu->addAction(element.attribute(QStringLiteral("text"), actionId));
    action->setObjectName(actionId);
    action->setShortcut(QKeySequence(element.attribute(QStringLiteral("shortcut"))));
    action->setCheckable(element.attribute(QStringLiteral("checkable")) == QLatin1String("true"));
    bindAction(action, element.attribute(QStringLiteral("icon")), identity, actionId, named.isEmpty());
}

void AC_Manager::bindAction(QAction* action, const QString& iconName, const QString& identity,
                            const QString& actionId, bool focusFirst)
{
    const QString icon = iconPath(iconName);
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    action->setProperty(identityProperty, identity);
    action->setProperty(actionIdProperty, actionId);
    action->setProperty(focusFirstProperty, focusFirst);
    connect(action, &QAction::triggered, this, [this, action] { performBound(action); });
}

AC_Responder* AC_Manager::boundResponder(QAction* action) const
{
    if (boundActionId(action).isEmpty())
        return nullptr;
    const QString identity = action->property(identityProperty).toString();
    return identity.isEmpty() ? AC_ResponderTemplate::responderOf(action) : responder(identity);
}

QString AC_Manager::boundActionId(const QAction* action)
{
    return action ? action->property(actionIdProperty).toString() : QString();
}

// A view's menu item is meant for whatever part of the view the user works in (a console's
// editor offers copy and clear), so that part is asked before the view's responder chain.
bool AC_Manager::performBound(QAction* action)
{
    const QString actionId = boundActionId(action);
    if (actionId.isEmpty())
        return false;
    AC_Responder* target = boundResponder(action);
    auto* view = dynamic_cast<QWidget*>(target);
    QWidget* focus = view && action->property(focusFirstProperty).toBool() ? view->focusWidget() : nullptr;
    if (focus && focus != view && AC_ResponderTemplate::invokeAction(focus, actionId)) {
        emit actionTriggered(target->responderIdentity(), actionId, true);
        return true;
    }
    return trigger(QString(), actionId, target);
}

bool AC_Manager::addResourceFolder(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    if (!m_resourceFolders.contains(folder))
        m_resourceFolders.append(folder);
    return true;
}

void AC_Manager::registerResponder(AC_Responder* responder)
{
    if (responder)
        m_responders.insert(responder->responderIdentity(), responder);
}

void AC_Manager::unregisterResponder(AC_Responder* responder)
{
    for (auto entry = m_responders.begin(); entry != m_responders.end();) {
        if (entry.value() == responder)
            entry = m_responders.erase(entry);
        else
            ++entry;
    }
}

AC_Responder* AC_Manager::responder(const QString& identity) const
{
    return m_responders.value(identity, nullptr);
}

bool AC_Manager::trigger(const QString& identity, const QString& actionId, AC_Responder* fallback)
{
    AC_Responder* target = identity.isEmpty() ? nullptr : responder(identity);
    if (!target)
        target = fallback;
    const bool performed = target && target->perform(actionId);
    emit actionTriggered(identity.isEmpty() && target ? target->responderIdentity() : identity, actionId, performed);
    return performed;
}

QString AC_Manager::iconPath(const QString& name) const
{
    if (name.isEmpty())
        return QString();
    for (auto folder = m_resourceFolders.crbegin(); folder != m_resourceFolders.crend(); ++folder) {
        const QString path = QDir(*folder).filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return WID_IconManager::instance()->iconPath(name);
}
