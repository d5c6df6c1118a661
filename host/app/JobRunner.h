#pragma once

#include "BellwickJob.h"

#include <QList>

class QScriptEngine;

// Runs the command line's scripts and Python work in order and stops at the first failure.
class JobRunner
{
public:
    explicit JobRunner(QScriptEngine* scriptEngine);

    // 0 when every job succeeded, 1 when one failed; the reason went to standard error (or, for
    // Python errors, to the message log as the engine reported them).
    int run(const QList<BellwickJob>& jobs);

    // Reads every job file up front; the first unreadable one is named in the result.
    static QString unreadableFile(const QList<BellwickJob>& jobs);

private:
    bool runScript(const QString& path);
    bool runPython(const QString& code);

    QScriptEngine* m_scriptEngine;
};
