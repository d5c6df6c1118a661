#include "PluginLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString PluginLoader::defaultPluginPath()
{
    // A build tree has the plug-in beside bellwick; an installed tree has it in a folder of its
    // own, with its resources, under the plug-in folder.
    const QString folder = QCoreApplication::applicationDirPath();
    const QString beside = folder + QStringLiteral("/libPythonScript.so");
    const QString installed = QDir::cleanPath(
        folder + QStringLiteral("/" BELLWICK_PLUGINS_RELATIVE_DIR "/PythonScript/libPythonScript.so"));
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside : installed;
}

bool PluginLoader::load(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        m_error = QStringLiteral("Plug-in library not found: %1").arg(path);
        return false;
    }
    m_library.setFileName(file.absoluteFilePath());
    if (!m_library.load()) {
        m_error = QStringLiteral("Cannot load plug-in %1: %2").arg(path, m_library.errorString());
        return false;
    }
    m_init = resolve("PLUG_Init");
    m_polish = m_init ? resolve("PLUG_Polish") : nullptr;
    m_unpolish = m_polish ? resolve("PLUG_Unpolish") : nullptr;
    return m_unpolish != nullptr;
}

PluginLoader::EntryPoint PluginLoader::resolve(const char* name)
{
    auto entry = reinterpret_cast<EntryPoint>(m_library.resolve(name));
    if (!entry)
        m_error = QStringLiteral("Plug-in %1 has no entry point %2").arg(m_library.fileName(), QLatin1String(name));
    return entry;
}
