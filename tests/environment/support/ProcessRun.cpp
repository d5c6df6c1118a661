#include "support/ProcessRun.h"

#include <QProcess>

ProcessRun::ProcessRun(const QString& program, const QStringList& args, const QString& workingDirectory,
                       const QProcessEnvironment& environment)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProcessEnvironment(environment);
    process.start(program, args);
    m_finished = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    m_exitCode = process.exitCode();
    m_out = process.readAllStandardOutput();
    m_err = process.readAllStandardError();
}

ProcessRun ProcessRun::bellwick(const QString& settings, const QStringList& args, const QString& workingDirectory,
                                const QProcessEnvironment& environment)
{
    return ProcessRun(qEnvironmentVariable("BELLWICK_BIN_DIR") + QStringLiteral("/bellwick"),
                      QStringList{QStringLiteral("--settings"), settings} + args, workingDirectory, environment);
}
