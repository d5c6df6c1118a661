#include "plugin/PythonEnvironment.h"

#include <PythonQtStartupSettings.h>
#include <SCP_PythonFinder.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef _WIN32
#include <cerrno>
#include <cstdlib>

// The Windows C runtime's setter of a process environment variable; 0 on success.
static int _putenv_s(const char* name, const char* value)
{
    return setenv(name, value, 1) == 0 ? 0 : errno;
}
#endif

namespace {

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

    _putenv_s("PYTHON_PATH", searchPath.toLocal8Bit().constData());

    if (home.isEmpty())
        home = QDir::toNativeSeparators(QFileInfo(executable).dir().path());

    // Later runs reuse the first home.
    static const QString pythonHome = home;
    PythonQtStartupSettings::setPythonHome(pythonHome);

    log(QString());
    log(QCoreApplication::translate("PythonScript", "Python detected\n\tPython executable: %1\n\tPython home: %2")
            .arg(executable, home));
}
