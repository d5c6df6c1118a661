#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>

// One run of the reference host with its log on standard error (--log -).
class BellwickRun
{
public:
    // Runs bellwick from BELLWICK_BIN_DIR with args plus "--log -" and waits for it.
    explicit BellwickRun(const QStringList& args, const QString& workingDirectory = QString());

    bool finished() const { return finishedNormally; }
    int exitCode() const { return code; }
    const QByteArray& standardOutput() const { return out; }
    QStringList outputLines() const;

    // Texts of the logged host messages with action, in order.
    QStringList messages(int action) const;
    QStringList pythonInitLines() const;

private:
    QStringList texts(const QString& kind, int action) const;

    bool finishedNormally = false;
    int code = -1;
    QByteArray out;
    QList<QJsonObject> log;
};
