#include "JobRunner.h"

#include "BellwickError.h"
#include "MSG_Action.h"
#include "MSG_Log.h"
#include "SCP_PythonEngine.h"
#include "SCP_PythonModule.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QScriptEngine>

bool JobRunner::load(const QList<BellwickJob>& jobs)
{
    m_jobs.clear();
    m_unreadableFile.clear();
    for (const BellwickJob& job : jobs) {
        if (job.kind == BellwickJob::PythonCode) {
            m_jobs.append({job, job.value});
            continue;
        }
        // Only a regular file has an end to read to: a device or pipe would block or never end.
        QFile file(job.value);
        if (!QFileInfo(job.value).isFile() || !file.open(QIODevice::ReadOnly)) {
            m_unreadableFile = job.value;
            return false;
        }
        m_jobs.append({job, QString::fromUtf8(file.readAll())});
    }
    return true;
}

int JobRunner::run(QScriptEngine* scriptEngine) const
{
    for (const LoadedJob& loaded : m_jobs) {
        const bool ok = loaded.job.kind == BellwickJob::Script ? runScript(scriptEngine, loaded)
                                                               : runPython(loaded.text);
        if (!ok)
            return 1;
    }
    return 0;
}

bool JobRunner::runScript(QScriptEngine* scriptEngine, const LoadedJob& loaded)
{
    const QString& path = loaded.job.value;
    if (!scriptEngine) {
        printBellwickError(QStringLiteral("Cannot run %1: the host runs without a script engine").arg(path));
        return false;
    }
    scriptEngine->evaluate(loaded.text, path);
    if (!scriptEngine->hasUncaughtException())
        return true;
    printBellwickError(QStringLiteral("%1:%2: %3")
                           .arg(path)
                           .arg(scriptEngine->uncaughtExceptionLineNumber())
                           .arg(scriptEngine->uncaughtException().toString()));
    scriptEngine->clearExceptions();
    return false;
}

// The engine reports Python errors itself, as action-2 messages; they tell failure apart from
// a run that simply gave None.
bool JobRunner::runPython(const QString& code)
{
    SCP_PythonEngine* engine = SCP_PythonEngine::current();
    SCP_PythonModule* main = engine ? engine->mainModule() : nullptr;
    if (!main) {
        printBellwickError(QStringLiteral("Python is not available: the host has no Python engine (see the Python start-up log, --log)"));
        return false;
    }
    QAtomicInt errors = 0;
    MSG_Log* log = MSG_Log::instance();
    const int listener = log->addListener([&errors](const MSG_Entry& entry) {
        if (entry.kind == MSG_Entry::Message && entry.action == MSG_Action::Error)
            errors.ref();
    });
    main->execute(code);
    log->removeListener(listener);
    return errors.loadRelaxed() == 0;
}
