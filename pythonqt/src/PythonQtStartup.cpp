#include "PythonQtStartup.h"

#include "PythonQtPython.h"
#include "PythonQtStartupSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <dlfcn.h>

#include <string>

namespace {

QString statusText(const PyStatus& status)
{
    if (PyStatus_IsExit(status))
        return QStringLiteral("The interpreter asked to exit with code %1").arg(status.exitcode);
    const QString message = QString::fromUtf8(status.err_msg ? status.err_msg : "unknown error");
    return status.func ? QStringLiteral("%1: %2").arg(QString::fromUtf8(status.func), message) : message;
}

// A search path given whole leaves the interpreter without its standard library's folder,
// where frozen modules (os, codecs, ...) take their __file__ from: it is the path's entry
// that holds os.py.
PyStatus setStandardLibrary(PyConfig& config, const QStringList& paths)
{
#if PY_VERSION_HEX >= 0x030B0000
    for (const QString& path : paths) {
        if (!QFileInfo::exists(QDir(path).filePath(QStringLiteral("os.py"))))
            continue;
        const std::wstring wide = QDir::toNativeSeparators(QDir::cleanPath(path)).toStdWString();
        return PyConfig_SetString(&config, &config.stdlib_dir, wide.c_str());
    }
#else
    Q_UNUSED(config);
    Q_UNUSED(paths);
#endif
    return PyStatus_Ok();
}

PyStatus setSearchPaths(PyConfig& config, const QString& pathList)
{
    // The caller may use ";" whatever the platform, or the platform's own separator.
    const QString separators = QStringLiteral("[;%1]").arg(QRegularExpression::escape(QDir::listSeparator()));
    const QStringList paths = pathList.split(QRegularExpression(separators), Qt::SkipEmptyParts);
    config.module_search_paths_set = 1;
    for (const QString& path : paths) {
        const std::wstring wide = path.toStdWString();
        PyStatus status = PyWideStringList_Append(&config.module_search_paths, wide.c_str());
        if (PyStatus_Exception(status))
            return status;
    }
    return setStandardLibrary(config, paths);
}

// An interpreter named by its full path is sys.executable, so that child processes started
// with it (subprocess, multiprocessing's spawn) run the same Python, not whichever the PATH finds.
PyStatus setExecutable(PyConfig& config)
{
    const QString program = PythonQtStartupSettings::executable();
    if (!QDir::isAbsolutePath(program))
        return PyStatus_Ok();
    const std::wstring wide = program.toStdWString();
    PyStatus status = PyConfig_SetString(&config, &config.program_name, wide.c_str());
    if (!PyStatus_Exception(status))
        status = PyConfig_SetString(&config, &config.executable, wide.c_str());
    return status;
}

PyStatus fillConfig(PyConfig& config, bool ignoreSiteModule)
{
    config.install_signal_handlers = 0;
    config.parse_argv = 0;
    if (ignoreSiteModule)
        config.site_import = 0;
    PyStatus status = setExecutable(config);
    if (PyStatus_Exception(status))
        return status;
    const QString home = PythonQtStartupSettings::pythonHome();
    if (!home.isEmpty()) {
        const std::wstring wide = home.toStdWString();
        status = PyConfig_SetString(&config, &config.home, wide.c_str());
        if (PyStatus_Exception(status))
            return status;
    }
    const QString path = PythonQtStartupSettings::path();
    if (!path.isEmpty())
        return setSearchPaths(config, path);
    return PyStatus_Ok();
}

} // namespace

void PythonQtStartup::makeLibPythonGlobal()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&Py_InitializeFromConfig), &info) || !info.dli_fname)
        return;
    // Deliberately kept open: the promotion to global must outlive this call.
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_GLOBAL);
}

QString PythonQtStartup::initialize(bool ignoreSiteModule)
{
    PyConfig config;
    PyConfig_InitPythonConfig(&config);
    PyStatus status = fillConfig(config, ignoreSiteModule);
    if (!PyStatus_Exception(status))
        status = Py_InitializeFromConfig(&config);
    PyConfig_Clear(&config);
    if (PyStatus_Exception(status))
        return statusText(status);
    return QString();
}
