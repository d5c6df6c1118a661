#include "python/PythonInclude.h"

#include "plugin/PythonEnvironment.h"

#include "plugin/PutEnvShim.h"

#include <SCP_PythonFinder.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <string>

namespace {

void log(const QString& text)
{
    SCP_PythonFinder::logPythonInit(text);
}

// The legacy pre-initialisation settings, which the embedding layer honours when it starts the
// interpreter through PyConfig.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
QString interpreterDefaultPath()
{
    const wchar_t* path = Py_GetPath();
    return path ? QString::fromWCharArray(path) : QString();
}

void setInterpreterPath(const wchar_t* path)
{
    Py_SetPath(path);
}

void setInterpreterHome(const wchar_t* home)
{
    Py_SetPythonHome(home);
}

void setInterpreterProgramName(const wchar_t* program)
{
    Py_SetProgramName(program);
}
#pragma GCC diagnostic pop

}

void setUpPythonEnvironment(SCP_PythonFinder* finder)
{
    const QString separator = QDir::listSeparator();
    const QString executable = finder->pythonExecutablePath();
    QString searchPath = finder->pythonPath();
    QString& home = finder->homePath();

    const QString defaultPath = interpreterDefaultPath();
    if (!defaultPath.isEmpty())
        searchPath += separator + defaultPath;

    const std::wstring wideSearchPath = searchPath.toStdWString();
    setInterpreterPath(wideSearchPath.c_str());
    log(QCoreApplication::translate("PythonScript", "      Setting Python Path: %1 ").arg(searchPath));
    log(QCoreApplication::translate("PythonScript", "      Loaded Python from %1.").arg(executable));
    // The interpreter keeps the pointer; the found interpreter becomes sys.executable.
    static const std::wstring programName = executable.toStdWString();
    if (!executable.isEmpty())
        setInterpreterProgramName(programName.c_str());

    _putenv_s("PYTHON_PATH", searchPath.toLocal8Bit().constData());

    if (home.isEmpty())
        home = QDir::toNativeSeparators(QFileInfo(executable).dir().path());

    // The interpreter keeps the pointer it is given, so the string lives as long as the process;
    // later runs reuse the first home.
    static const std::wstring pythonHome = home.toStdWString();
    setInterpreterHome(pythonHome.c_str());

    log(QString());
    log(QCoreApplication::translate("PythonScript", "Python detected\n\tPython executable: %1\n\tPython home: %2")
            .arg(executable, home));
}
