#include "PLUG_ScriptingInterface.h"

#include <QScriptEngine>

PLUG_ScriptingInterface::PLUG_ScriptingInterface(QScriptEngine* engine)
    : m_engine(engine)
{
}

bool PLUG_ScriptingInterface::registerObject(QObject* object, const QString& name)
{
    if (!m_engine || !object || name.isEmpty())
        return false;
    m_engine->globalObject().setProperty(name, m_engine->newQObject(object));
    return true;
}
