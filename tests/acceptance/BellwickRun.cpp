#include "BellwickRun.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>

BellwickRun::BellwickRun(const QStringList& args, const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProgram(QDir(qEnvironmentVariable("BELLWICK_BIN_DIR")).filePath(QStringLiteral("bellwick")));
    process.setArguments(args + QStringList{QStringLiteral("--log"), QStringLiteral("-")});
    process.start();
    finishedNormally = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    code = process.exitCode();
    out = process.readAllStandardOutput();
    for (const QByteArray& line : process.readAllStandardError().split('\n')) {
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (document.isObject())
            log.append(document.object());
    }
}

QStringList BellwickRun::outputLines() const
{
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList BellwickRun::messages(int action) const
{
    return texts(QStringLiteral("message"), action);
}

QStringList BellwickRun::pythonInitLines() const
{
    return texts(QStringLiteral("python-init"), -1);
}

QStringList BellwickRun::texts(const QString& kind, int action) const
{
    QStringList result;
    for (const QJsonObject& entry : log) {
        if (entry.value(QStringLiteral("kind")).toString() == kind
            && (action < 0 || entry.value(QStringLiteral("action")).toInt() == action))
            result << entry.value(QStringLiteral("text")).toString();
    }
    return result;
}
