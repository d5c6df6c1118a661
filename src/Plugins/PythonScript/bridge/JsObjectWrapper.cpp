#include "JsObjectWrapper.h"

#include <QDynamicPropertyChangeEvent>
#include <QScriptEngine>

JsObjectWrapper::JsObjectWrapper(QScriptEngine* engine, const QString& name)
    : jsObject(engine->globalObject().property(name))
    , scriptEngine(engine)
{
}

void JsObjectWrapper::enableSyncToScript()
{
    syncToScript = true;
}

bool JsObjectWrapper::event(QEvent* event)
{
    if (syncToScript && event->type() == QEvent::DynamicPropertyChange) {
        const QByteArray name = static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName();
        jsObject.setProperty(QString::fromLatin1(name), scriptEngine->newVariant(property(name.constData())),
                             QScriptValue::KeepExistingFlags);
    }
    return QObject::event(event);
}
