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
    // What a plug-in's start-up does first: the finder, initialised, once it has built the
    // Python environment; null without a finder or an installation.
    static SCP_PythonFinder* readyInstance();

    SCP_PythonFinder();
    virtual ~SCP_PythonFinder();

    // Finds the installation: the one this host was built against, or the one whose prefix the
    // preference "PYTHON_LIB_PATH" names.
    virtual void initialize();
    // Builds the search path ("PYTHONPATH" preference entries, then the standard library, its
    // zip and lib-dynload) and sets home to the prefix. False when the installation is missing.
    virtual bool buildPythonEnvironment();

    QString& homePath() { return m_homePath; }
    const QString& pythonExecutablePath() const { return m_executablePath; }
    const QString& pythonPath() const { return m_pythonPath; }

    // One line of the host's Python start-up log.
    static void logPythonInit(const QString& text);

    // Where the installation was found by initialize().
    const QString& prefix() const { return m_prefix; }
    const QString& standardLibraryPath() const { return m_standardLibrary; }

protected:
    QString m_homePath;
    QString m_executablePath;
    QString m_pythonPath;

private:
    QString m_prefix;
    QString m_standardLibrary;
    QString m_standardLibraryZip;
    QString m_dynload;
};
