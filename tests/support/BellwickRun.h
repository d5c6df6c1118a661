#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcessEnvironment>
#include <QStringList>

// One run of the built bellwick with its log on standard error (--log -), waited for.
class BellwickRun
{
public:
    explicit BellwickRun(const QStringList& args, const QString& workingDirectory = QString(),
                         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    bool finished() const { return finishedNormally; }
    int exitCode() const { return code; }
    QStringList outputLines() const { return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    // Standard error without the log's lines.
    const QString& errorText() const { return errors; }
    const QList<QJsonObject>& log() const { return entries; }
    // Texts of the logged host messages with action, in order.
    QStringList messages(int action) const { return texts(QStringLiteral("message"), action); }
    QStringList pythonInitLines() const { return texts(QStringLiteral("python-init"), -1); }

private:
    QStringList texts(const QString& kind, int action) const;

    bool finishedNormally = false;
    int code = -1;
    QByteArray out;
    QString errors;
    QList<QJsonObject> entries;
};
