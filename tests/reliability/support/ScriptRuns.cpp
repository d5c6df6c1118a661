#include "support/ScriptRuns.h"

#include <QScriptEngine>

QScriptValue runScript(QScriptEngine* scripts, const QString& program)
{
    const QScriptValue result = scripts->evaluate(program);
    if (scripts->hasUncaughtException()) {
        qWarning("script failed: %s", qPrintable(scripts->uncaughtException().toString()));
        scripts->clearExceptions();
    }
    return result;
}
