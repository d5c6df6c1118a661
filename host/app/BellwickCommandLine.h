#pragma once

#include "BellwickJob.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// bellwick's command line.
class BellwickCommandLine
{
public:
    enum Result { Run, ShowHelp, ShowVersion, Invalid };

    // The services --without may name.
    static const QStringList& serviceNames();

    // args includes the program name first, as QCoreApplication::arguments() gives it.
    Result parse(const QStringList& args);

    // For Invalid: a one-line reason.
    const QString& error() const { return m_error; }
    const QString& helpText() const { return m_helpText; }

    const QString& pluginPath() const { return m_pluginPath; }
    const QString& settingsFile() const { return m_settingsFile; }
    const QString& specialFolder() const { return m_specialFolder; }
    // "-" for standard error; empty when no log was asked for.
    const QString& logFile() const { return m_logFile; }
    bool batchPython() const { return m_batchPython; }
    const QSet<QString>& without() const { return m_without; }
    // Scripts and Python work in command-line order; empty: the main window opens.
    const QList<BellwickJob>& jobs() const { return m_jobs; }
    // --window: the jobs run with the main window shown; --stay keeps it open after them.
    bool windowRun() const { return m_window; }
    bool stay() const { return m_stay; }
    bool isHeadless() const { return !m_jobs.isEmpty() && !m_window; }
    // --style: dark (the default) or light.
    bool darkStyle() const { return m_darkStyle; }
    // --language: the locale whose translation to load ("fr", "fr_CA"); empty: the user's.
    const QString& language() const { return m_language; }
    // The words after "--": the rest of sys.argv for each Python job.
    const QStringList& scriptArguments() const { return m_scriptArguments; }
    // --venv: a virtual environment whose site-packages Python searches; empty: the preference's.
    const QString& virtualEnv() const { return m_virtualEnv; }
    // --site-packages: the interpreter's own site-packages are searched for this run.
    bool sitePackages() const { return m_sitePackages; }
    // --debug-port: the port of the plug-in's debug server for this run; 0 when not given.
    int debugPort() const { return m_debugPort; }

private:
    bool readWithout(const QStringList& values);
    bool readStyle(const QString& value);
    // valueOptions: the names of the options that take a value.
    void orderJobs(const QStringList& args, const QStringList& valueOptions, const QStringList& scripts,
                   const QStringList& pythonFiles, const QStringList& codes, const QStringList& modules);

    QString m_error;
    QString m_helpText;
    QString m_pluginPath;
    QString m_settingsFile;
    QString m_specialFolder;
    QString m_logFile;
    QString m_language;
    QString m_virtualEnv;
    QStringList m_scriptArguments;
    bool m_batchPython = false;
    bool m_window = false;
    bool m_stay = false;
    bool m_darkStyle = true;
    bool m_sitePackages = false;
    int m_debugPort = 0;
    QSet<QString> m_without;
    QList<BellwickJob> m_jobs;
};
