#pragma once

#include "BellwickJob.h"

#include <QList>
#include <QStringList>

class QScriptEngine;

// Runs the command line's scripts and Python work in order and stops at the first failure, or
// at the first Python job that ends the run as python's process would end (SystemExit).
class JobRunner
{
public:
    // Where Python's output goes while the jobs run.
    enum OutputRoute {
        MessageLog,           // the engine's usual routing
        StandardStreams,      // the process's standard output and error, as python writes them
        StandardStreamsAndLog // both
    };

    // Reads every job file up front, so a missing file stops the run before anything starts;
    // false when one cannot be read (named by unreadableFile()). scriptArguments follow sys.argv[0]
    // for each Python job.
    bool load(const QList<BellwickJob>& jobs, const QStringList& scriptArguments = QStringList());
    const QString& unreadableFile() const { return m_unreadableFile; }

    // 0 when every loaded job succeeded; else the status of the job that ended the run: 1 for a
    // failure, whose reason went to standard error, or a Python job's SystemExit code.
    int run(QScriptEngine* scriptEngine, OutputRoute route = MessageLog) const;

private:
    // A job with its program text (a script's contents).
    struct LoadedJob
    {
        BellwickJob job;
        QString text;
    };

    static bool runScript(QScriptEngine* scriptEngine, const LoadedJob& loaded);
    // Logs a Python job's uncaught traceback as the route asks.
    static void logError(const QString& traceback, OutputRoute route);

    QList<LoadedJob> m_jobs;
    QStringList m_scriptArguments;
    QString m_unreadableFile;
};
