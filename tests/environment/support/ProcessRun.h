#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

// One run of a program, waited for: its standard output and error as they were written.
class ProcessRun
{
public:
    ProcessRun(const QString& program, const QStringList& args, const QString& workingDirectory,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    bool finished() const { return m_finished; }
    int exitCode() const { return m_exitCode; }
    const QByteArray& out() const { return m_out; }
    const QByteArray& err() const { return m_err; }

    // The built bellwick, its preferences in settings (an INI file that need not exist).
    static ProcessRun bellwick(const QString& settings, const QStringList& args, const QString& workingDirectory,
                               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

private:
    bool m_finished = false;
    int m_exitCode = -1;
    QByteArray m_out;
    QByteArray m_err;
};
