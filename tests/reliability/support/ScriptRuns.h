#pragma once

#include <QScriptValue>
#include <QString>

class QScriptEngine;

// Evaluates program in the host's script engine; an uncaught exception becomes a warning (and
// the result), so that a check on the result fails with the script's reason beside it.
QScriptValue runScript(QScriptEngine* scripts, const QString& program);
