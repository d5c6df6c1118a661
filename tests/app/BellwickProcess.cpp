#include "BellwickProcess.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>

BellwickProcess::BellwickProcess()
    : m_bin(qEnvironmentVariable("BELLWICK_BIN_DIR"))
{
}

QString BellwickProcess::standInPlugin() const
{
    return m_bin + QStringLiteral("/test-plugins/libbellwick_test_plugin.so");
}

QString BellwickProcess::script(const QString& text)
{
    const QString path = m_dir.filePath(QStringLiteral("job%1.js").arg(m_files++));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    return path;
}

BellwickProcess::Run BellwickProcess::run(const QStringList& args, const QProcessEnvironment& env) const
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(m_bin + QStringLiteral("/bellwick"),
                  QStringList{QStringLiteral("--settings"), m_dir.filePath(QStringLiteral("prefs.ini"))} + args);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QList<QJsonObject> BellwickProcess::readLog(const QString& path)
{
    QFile file(path);
    QList<QJsonObject> events;
    if (!file.open(QIODevice::ReadOnly))
        return events;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            events.append(QJsonDocument::fromJson(line).object());
    }
    return events;
}
