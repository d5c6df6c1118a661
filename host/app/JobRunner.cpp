#include "JobRunner.h"

#include "MSG_Log.h"
#include "SCP_PythonEngine.h"
#include "SCP_PythonModule.h"

#include <QAtomicInt>
#include <QFile>
#include <QScriptEngine>

#include <cstdio>

namespace {

const int errorAction = 2;

QString readText(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? QString::fromUtf8(file.readAll()) : QString();
}

void printError(const QString& text)
{
    std::fprintf(stderr, "bellwick: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

JobRunner::JobRunner(QScriptEngine* scriptEngine)
    : m_scriptEngine(scriptEngine)
{
}

QString JobRunner::unreadableFile(const QList<BellwickJob>& jobs)
{
    for (const BellwickJob& job : jobs) {
        bool ok = true;
        if (job.kind != BellwickJob::PythonCode)
            readText(job.value, &ok);
        if (!ok)
            return job.value;
    }
    return QString();
}

int JobRunner::run(const QList<BellwickJob>& jobs)
{
    for (const BellwickJob& job : jobs) {
        bool ok = true;
        switch (job.kind) {
        case BellwickJob::Script:
            ok = runScript(job.value);
            break;
        case BellwickJob::PythonFile:
            ok = runPython(readText(job.value, &ok));
            break;
        case BellwickJob::PythonCode:
            ok = runPython(job.value);
            break;
        }
        if (!ok)
            return 1;
    }
    return 0;
}

bool JobRunner::runScript(const QString& path)
{
    if (!m_scriptEngine) {
        printError(QStringLiteral("Cannot run %1: the host runs without a script engine").arg(path));
        return false;
    }
    bool ok = true;
    const QString program = readText(path, &ok);
    m_scriptEngine->evaluate(program, path);
    if (!ok || !m_scriptEngine->hasUncaughtException())
        return ok;
    printError(QStringLiteral("%1:%2: %3")
                   .arg(path)
                   .arg(m_scriptEngine->uncaughtExceptionLineNumber())
                   .arg(m_scriptEngine->uncaughtException().toString()));
    m_scriptEngine->clearExceptions();
    return false;
}

// The engine reports Python errors itself, as action-2 messages; they tell failure apart from
// a run that simply gave None.
bool JobRunner::runPython(const QString& code)
{
    SCP_PythonEngine* engine = SCP_PythonEngine::current();
    SCP_PythonModule* main = engine ? engine->mainModule() : nullptr;
    if (!main) {
        printError(QStringLiteral("Python is not available: the host has no Python engine (see the Python start-up log, --log)"));
        return false;
    }
    QAtomicInt errors = 0;
    MSG_Log* log = MSG_Log::instance();
    const int listener = log->addListener([&errors](const MSG_Entry& entry) {
        if (entry.kind == MSG_Entry::Message && entry.action == errorAction)
            errors.ref();
    });
    main->execute(code);
    log->removeListener(listener);
    return errors.loadRelaxed() == 0;
}
