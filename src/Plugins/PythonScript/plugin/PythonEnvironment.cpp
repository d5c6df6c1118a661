#include "plugin/PythonEnvironment.h"

#include <PythonQtStartupSettings.h>
#include <SCP_PythonFinder.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace {

// Sets a process environment variable for the interpreter and the host's child processes.
void putEnvironmentVariable(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

void log(const QString& text)
{
    SCP_PythonFinder::logPythonInit(text);
}

}

void setUpPythonEnvironment(SCP_PythonFinder* finder)
{
    const QString separator = QDir::listSeparator();
    const QString executable = finder->pythonExecutablePath();
    QString searchPath = finder->pythonPath();
    QString& home = finder->homePath();

    // The search path an earlier run handed over, else none, on every version.
    const QString defaultPath = PythonQtStartupSettings::path();
    if (!defaultPath.isEmpty())
        searchPath += separator + defaultPath;

    PythonQtStartupSettings::setPath(searchPath);
    log(QCoreApplication::translate("PythonScript", "      Setting Python Path: %1 ").arg(searchPath));
    log(QCoreApplication::translate("PythonScript", "      Loaded Python from %1.").arg(executable));
    // The found interpreter becomes sys.executable.
    PythonQtStartupSettings::setExecutable(executable);

    putEnvironmentVariable("PYTHON_PATH", searchPath.toLocal8Bit().constData());

    if (home.isEmpty())
        home = QDir::toNativeSeparators(QFileInfo(executable).dir().path());

    // Later runs reuse the first home.
    static const QString pythonHome = home;
    PythonQtStartupSettings::setPythonHome(pythonHome);

    log(QString());
    log(QCoreApplication::translate("PythonScript", "Python detected\n\tPython executable: %1\n\tPython home: %2")
            .arg(executable, home));
}
