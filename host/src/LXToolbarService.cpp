#include "LXToolbarService.h"

#include "AC_Manager.h"
#include "AC_Responder.h"

#include <QDomElement>
#include <QHash>
#include <QToolBar>

LXToolbarService::LXToolbarService(AC_Manager* actionManager)
    : m_actionManager(actionManager)
{
}

QToolBar* LXToolbarService::createToolbar(const QDomElement& definition, const QStringList& itemIds,
                                          AC_Responder* responder, QWidget* parent) const
{
    if (definition.isNull())
        return nullptr;
    QHash<QString, QDomElement> items;
    for (QDomElement item = definition.firstChildElement(); !item.isNull(); item = item.nextSiblingElement())
        items.insert(item.attribute(QStringLiteral("id")), item);

    auto* toolbar = new QToolBar(definition.attribute(QStringLiteral("text")), parent);
    toolbar->setObjectName(definition.attribute(QStringLiteral("id")));
    const QString defaultIdentity = responder ? responder->responderIdentity() : QString();
    for (const QString& id : itemIds) {
        const QDomElement item = items.value(id);
        if (item.isNull())
            continue;
        if (item.tagName() == QLatin1String("separator")) {
            toolbar->addSeparator();
            continue;
        }
        QAction* action = toolbar->addAction(item.attribute(QStringLiteral("text"), id));
        action->setObjectName(id);
        const QString actionId = item.attribute(QStringLiteral("action"), id);
        const QString named = item.attribute(QStringLiteral("responder"));
        if (m_actionManager)
            m_actionManager->bindAction(action, item.attribute(QStringLiteral("icon")),
                                        named.isEmpty() ? defaultIdentity : named, actionId, named.isEmpty());
    }
    return toolbar;
}

QStringList LXToolbarService::defaultItems(const QDomElement& definition)
{
    QStringList ids;
    for (QDomElement item = definition.firstChildElement(); !item.isNull(); item = item.nextSiblingElement()) {
        const QString id = item.attribute(QStringLiteral("id"));
        if (!id.isEmpty() && item.attribute(QStringLiteral("default")) == QLatin1String("true"))
            ids.append(id);
    }
    return ids;
}
