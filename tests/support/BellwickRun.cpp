#include "support/BellwickRun.h"

#include <QJsonDocument>
#include <QProcess>

BellwickRun::BellwickRun(const QStringList& args, const QString& workingDirectory, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("BELLWICK_BIN_DIR") + QStringLiteral("/bellwick"), args + QStringList{QStringLiteral("--log"), QStringLiteral("-")});
    finishedNormally = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    code = process.exitCode();
    out = process.readAllStandardOutput();
    for (const QByteArray& line : process.readAllStandardError().split('\n')) {
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (document.isObject())
            entries.append(document.object());
        else if (!line.isEmpty())
            errors += QString::fromUtf8(line) + QLatin1Char('\n');
    }
}

QStringList BellwickRun::texts(const QString& kind, int action) const
{
    QStringList result;
    for (const QJsonObject& entry : entries) {
        if (entry.value(QStringLiteral("kind")).toString() == kind && (action < 0 || entry.value(QStringLiteral("action")).toInt() == action))
            result << entry.value(QStringLiteral("text")).toString();
    }
    return result;
}
