#include "PythonQtStartupSettings.h"

namespace {

struct Settings
{
    QString path;
    QString home;
    QString executable;
};

Settings& settings()
{
    static Settings values;
    return values;
}

} // namespace

void PythonQtStartupSettings::setPath(const QString& path)
{
    settings().path = path;
}

QString PythonQtStartupSettings::path()
{
    return settings().path;
}

void PythonQtStartupSettings::setPythonHome(const QString& home)
{
    settings().home = home;
}

QString PythonQtStartupSettings::pythonHome()
{
    return settings().home;
}

void PythonQtStartupSettings::setExecutable(const QString& executable)
{
    settings().executable = executable;
}

QString PythonQtStartupSettings::executable()
{
    return settings().executable;
}
