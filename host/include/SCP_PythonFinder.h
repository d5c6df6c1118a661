#pragma once

#include "BellwickHostExport.h"

#include <QString>

// Locates the Python installation the host runs plug-ins with.
class BELLWICK_HOST_EXPORT SCP_PythonFinder
{
public:
    // Null when the host runs without a finder.
    static SCP_PythonFinder* instance();
    static void setInstance(SCP_PythonFinder* finder);

    SCP_PythonFinder();
    virtual ~SCP_PythonFinder();

    virtual void initialize();
    // False when the installation is missing.
    virtual bool buildPythonEnvironment();

    QString& homePath() { return m_homePath; }
    const QString& pythonExecutablePath() const { return m_executablePath; }
    const QString& pythonPath() const { return m_pythonPath; }

    // One line of the host's Python start-up log.
    static void logPythonInit(const QString& text);

protected:
    QString m_homePath;
    QString m_executablePath;
    QString m_pythonPath;
};
