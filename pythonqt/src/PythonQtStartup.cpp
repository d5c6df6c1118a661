#include "PythonQtStartup.h"

#include "PythonQtPrivateModule.h"
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

// Frozen modules (os, codecs, ...) take their __file__ from the standard library's folder,
// which the interpreter's own path computation leaves unset when it is handed a search path:
// it is then the path's entry that holds os.py. Python 3.12 and later take it from the
// configuration; 3.11 is told once it runs. Empty where there are no frozen modules or none
// is found.
QString findStandardLibrary(PyConfig& config, PyStatus& status)
{
#if PY_VERSION_HEX >= 0x030B0000
    const auto holdsOs = [](const wchar_t* path) {
        return path && QFileInfo::exists(QDir(QString::fromWCharArray(path)).filePath(QStringLiteral("os.py")));
    };
    status = PyConfig_Read(&config);
    if (PyStatus_Exception(status) || holdsOs(config.stdlib_dir))
        return QString();
    for (Py_ssize_t index = 0; index < config.module_search_paths.length; ++index) {
        const wchar_t* path = config.module_search_paths.items[index];
        if (holdsOs(path)) {
            status = PyConfig_SetString(&config, &config.stdlib_dir, path);
            return QString::fromWCharArray(path);
        }
    }
#else
    Q_UNUSED(config);
    Q_UNUSED(status);
#endif
    return QString();
}

void adoptStandardLibrary(const QString& folder)
{
    PyObject* known = PySys_GetObject("_stdlib_dir");
    if (folder.isEmpty() || (known && known != Py_None))
        return;
    PyObject* arguments = Py_BuildValue("(s)", folder.toUtf8().constData());
    Py_XDECREF(arguments ? PythonQtPrivateModule::call("adopt_standard_library", arguments) : nullptr);
    Py_XDECREF(arguments);
    PyErr_Clear();
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
    return PyStatus_Ok();
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
    QString standardLibrary;
    if (!PyStatus_Exception(status))
        standardLibrary = findStandardLibrary(config, status);
    if (!PyStatus_Exception(status))
        status = Py_InitializeFromConfig(&config);
    PyConfig_Clear(&config);
    if (PyStatus_Exception(status))
        return statusText(status);
    adoptStandardLibrary(standardLibrary);
    return QString();
}
