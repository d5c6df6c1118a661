#include "AC_ResponderTemplate.h"

#include "AC_Manager.h"

#include <QMetaMethod>

AC_ResponderTemplate::AC_ResponderTemplate(const QString& identity)
    : m_identity(identity)
{
}

AC_ResponderTemplate::~AC_ResponderTemplate()
{
    if (m_manager)
        m_manager->unregisterResponder(this);
}

bool AC_ResponderTemplate::perform(const QString& actionId)
{
    if (performHere(actionId))
        return true;
    AC_Responder* parent = parentResponder();
    return parent && parent->perform(actionId);
}

void AC_ResponderTemplate::initActionManager(AC_Manager* manager)
{
    if (m_manager == manager)
        return;
    if (m_manager)
        m_manager->unregisterResponder(this);
    m_manager = manager;
    if (manager)
        manager->registerResponder(this);
}

bool AC_ResponderTemplate::performHere(const QString&)
{
    return false;
}

bool AC_ResponderTemplate::invokeAction(QObject* object, const QString& actionId)
{
    if (!object || actionId.isEmpty())
        return false;
    const QByteArray signature = QMetaObject::normalizedSignature((actionId + QStringLiteral("()")).toUtf8());
    const int index = object->metaObject()->indexOfMethod(signature.constData());
    if (index < 0)
        return false;
    const QMetaMethod method = object->metaObject()->method(index);
    if (method.methodType() == QMetaMethod::Signal)
        return false;
    return method.invoke(object, Qt::DirectConnection);
}

AC_Responder* AC_ResponderTemplate::responderOf(QObject* object)
{
    for (; object; object = object->parent()) {
        if (auto* responder = dynamic_cast<AC_Responder*>(object))
            return responder;
    }
    return nullptr;
}
