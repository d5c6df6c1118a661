#include "JobRunner.h"

#include "BellwickError.h"
#include "MSG_Action.h"
#include "MSG_Scope.h"
#include "PythonJobLauncher.h"
#include "PythonStandardStreams.h"
#include "SCP_PythonEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QScriptEngine>

#include <memory>
#include <optional>

bool JobRunner::load(const QList<BellwickJob>& jobs, const QStringList& scriptArguments)
{
    m_jobs.clear();
    m_unreadableFile.clear();
    m_scriptArguments = scriptArguments;
    for (const BellwickJob& job : jobs) {
        if (job.kind == BellwickJob::PythonCode || job.kind == BellwickJob::PythonModule) {
            m_jobs.append({job, QString()});
            continue;
        }
        // Only a regular file has an end to read to: a device or pipe would block or never end.
        QFile file(job.value);
        if (!QFileInfo(job.value).isFile() || !file.open(QIODevice::ReadOnly)) {
            m_unreadableFile = job.value;
            return false;
        }
        // Python reads its file itself, as python does, with the file's own encoding.
        m_jobs.append({job, job.kind == BellwickJob::Script ? QString::fromUtf8(file.readAll()) : QString()});
    }
    return true;
}

int JobRunner::run(QScriptEngine* scriptEngine, OutputRoute route) const
{
    SCP_PythonEngine* engine = SCP_PythonEngine::current();
    std::unique_ptr<PythonStandardStreams> streams;
    if (engine && route != MessageLog)
        streams = std::make_unique<PythonStandardStreams>(engine, route == StandardStreamsAndLog);
    std::optional<PythonJobLauncher> launcher;
    for (const LoadedJob& loaded : m_jobs) {
        if (loaded.job.kind == BellwickJob::Script) {
            if (!runScript(scriptEngine, loaded))
                return 1;
            continue;
        }
        if (!engine || !engine->mainModule()) {
            printBellwickError(QStringLiteral("Python is not available: the host has no Python engine (see the Python start-up log, --log)"));
            return 1;
        }
        if (!launcher)
            launcher.emplace(engine);
        if (const std::optional<PythonJobLauncher::End> end = launcher->run(loaded.job, m_scriptArguments, route != MessageLog)) {
            logError(end->error, route);
            return end->status;
        }
    }
    return 0;
}

// Without the standard streams the traceback is the log's, one error per line as the engine
// reports errors; beside them, where a log is kept, its last line records the failure whatever
// sys.stderr was.
void JobRunner::logError(const QString& traceback, OutputRoute route)
{
    QStringList lines;
    for (const QString& line : traceback.split(QLatin1Char('\n'))) {
        if (!line.simplified().isEmpty())
            lines.append(line.simplified());
    }
    if (route == StandardStreamsAndLog && !lines.isEmpty())
        lines = QStringList{lines.last()};
    if (route == StandardStreams)
        lines.clear();
    for (const QString& line : std::as_const(lines))
        MSG_Scope(line, MSG_Action::Error);
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
