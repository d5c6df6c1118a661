#pragma once

#include "BellwickJob.h"

#include <QList>

class QScriptEngine;

// Runs the command line's scripts and Python work in order and stops at the first failure.
class JobRunner
{
public:
    // Reads every job file up front, so a missing file stops the run before anything starts;
    // false when one cannot be read (named by unreadableFile()).
    bool load(const QList<BellwickJob>& jobs);
    const QString& unreadableFile() const { return m_unreadableFile; }

    // 0 when every loaded job succeeded, 1 when one failed; the reason went to standard error
    // (or, for Python errors, to the message log as the engine reported them).
    int run(QScriptEngine* scriptEngine) const;

private:
    // A job with its program text: the file's contents, or the code itself.
    struct LoadedJob
    {
        BellwickJob job;
        QString text;
    };

    static bool runScript(QScriptEngine* scriptEngine, const LoadedJob& loaded);
    static bool runPython(const QString& code);

    QList<LoadedJob> m_jobs;
    QString m_unreadableFile;
};
