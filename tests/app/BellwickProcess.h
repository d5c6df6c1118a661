#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// Whole-host runs of the built bellwick, each with the preference store of this object's own
// folder, so that one run can see what an earlier one stored.
class BellwickProcess
{
public:
    struct Run
    {
        int status = -1; // -1: crashed or timed out
        QString out;
        QString err;
    };

    BellwickProcess();

    // The folder of bellwick and the test libraries (BELLWICK_BIN_DIR).
    const QString& binDir() const { return m_bin; }
    // The stand-in plug-in.
    QString standInPlugin() const;
    // A path in this object's folder.
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // Writes text to a new file of this object's folder and returns its path.
    QString script(const QString& text);

    Run run(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) const;
    // The events of a --log file.
    static QList<QJsonObject> readLog(const QString& path);

private:
    QString m_bin;
    QTemporaryDir m_dir;
    int m_files = 0;
};
