#include "BellwickHost.h"

#include "BAPP_SharedSpecialFolders.h"
#include "BUIAPP_Application.h"
#include "BellwickCommandLine.h"
#include "BellwickError.h"
#include "BellwickMainWindow.h"
#include "HostLogWriter.h"
#include "HostServices.h"
#include "JobRunner.h"
#include "PLUG_Services.h"
#include "PR_Preference.h"
#include "PluginLoader.h"
#include "ST_BatchParams.h"

#include <QApplication>
#include <QFileInfo>

#include <memory>

namespace {

int fail(const QString& text)
{
    printBellwickError(text);
    return 2;
}

} // namespace

int BellwickHost::run(const BellwickCommandLine& commandLine)
{
    HostLogWriter logWriter;
    if (!commandLine.logFile().isEmpty()) {
        if (!logWriter.open(commandLine.logFile(), HostLogWriter::JsonLines))
            return fail(QStringLiteral("Cannot open the log %1: %2").arg(commandLine.logFile(), logWriter.error()));
    } else if (commandLine.isHeadless()) {
        logWriter.open(QStringLiteral("-"), HostLogWriter::PlainMessages);
    }
    JobRunner jobs;
    if (!jobs.load(commandLine.jobs()))
        return fail(QStringLiteral("Cannot read %1").arg(jobs.unreadableFile()));

    lxPref.setStorageFile(commandLine.settingsFile());
    if (!commandLine.specialFolder().isEmpty())
        BAPP_SetSharedSpecialFolders(commandLine.specialFolder());
    ST_BatchParams::setBatchPython(commandLine.batchPython());

    HostServices services(commandLine.without());
    const QString pluginPath = commandLine.pluginPath().isEmpty() ? PluginLoader::defaultPluginPath()
                                                                  : commandLine.pluginPath();
    // Known before the library loads: its static objects may already ask for it.
    PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), QFileInfo(pluginPath).absolutePath());
    PluginLoader plugin;
    if (!plugin.load(pluginPath))
        return fail(plugin.error());
    plugin.init();
    plugin.polish();

    int status = 0;
    std::unique_ptr<BellwickMainWindow> window;
    if (commandLine.isHeadless()) {
        status = jobs.run(services.scriptEngine());
    } else {
        window = std::make_unique<BellwickMainWindow>(services.layoutManager());
        services.application()->setMainWidget(window.get());
        window->show();
        status = QApplication::exec();
    }
    plugin.unpolish();
    services.application()->setMainWidget(nullptr);
    window.reset();
    return status;
}
