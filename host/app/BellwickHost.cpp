#include "BellwickHost.h"

#include "BAPP_SharedSpecialFolders.h"
#include "BUIAPP_Application.h"
#include "BellwickCommandLine.h"
#include "BellwickError.h"
#include "BellwickMainWindow.h"
#include "BellwickStyle.h"
#include "HostLogWriter.h"
#include "HostScriptApi.h"
#include "HostServices.h"
#include "JobRunner.h"
#include "PLUG_Services.h"
#include "PR_Preference.h"
#include "PluginLoader.h"
#include "SCP_PythonFinder.h"
#include "ST_BatchParams.h"
#include "StandardOutputCapture.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QWindow>

namespace {

const int activationWait = 1000;

int fail(const QString& text)
{
    printBellwickError(text);
    return 2;
}

// Shortcuts and focus follow the active window; the window system activates a shown window
// a little later, on the offscreen platform too. Jobs start when it did, or after a second.
void waitUntilActive(QWidget& window)
{
    window.activateWindow();
    if (window.isActiveWindow())
        return;
    QEventLoop loop;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &loop, &QEventLoop::quit);
    QTimer::singleShot(activationWait, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window, with the jobs (if any) run once the event loop has started; every plug-in area
// has its dock and working view by then.
int runWindow(const BellwickCommandLine& commandLine, HostServices& services, const JobRunner& jobs)
{
    BellwickStyle::apply(commandLine.darkStyle());
    BellwickMainWindow window(services.layoutManager(), services.commandManager());
    services.application()->setMainWidget(&window);
    window.show();
    int jobStatus = -1;
    if (!commandLine.jobs().isEmpty()) {
        QTimer::singleShot(0, &window, [&] {
            waitUntilActive(window);
            jobStatus = jobs.run(services.scriptEngine());
            if (!commandLine.stay())
                QApplication::exit(jobStatus);
        });
    }
    const int loopStatus = QApplication::exec();
    services.application()->setMainWidget(nullptr);
    return jobStatus >= 0 ? jobStatus : loopStatus;
}

// A headless run's standard output is Python's alone, as python's is: what the plug-in prints
// while it starts goes to the start-up log instead.
void initPlugin(const PluginLoader& plugin, bool headless)
{
    if (!headless) {
        plugin.init();
        return;
    }
    StandardOutputCapture capture;
    plugin.init();
    for (const QString& line : capture.take().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        SCP_PythonFinder::logPythonInit(line);
}

} // namespace

int BellwickHost::run(const BellwickCommandLine& commandLine)
{
    HostLogWriter logWriter;
    if (!commandLine.logFile().isEmpty()) {
        if (!logWriter.open(commandLine.logFile(), HostLogWriter::JsonLines))
            return fail(QStringLiteral("Cannot open the log %1: %2").arg(commandLine.logFile(), logWriter.error()));
    } else if (!commandLine.jobs().isEmpty()) {
        logWriter.open(QStringLiteral("-"), HostLogWriter::PlainMessages);
    }
    JobRunner jobs;
    if (!jobs.load(commandLine.jobs(), commandLine.scriptArguments()))
        return fail(QStringLiteral("Cannot read %1").arg(jobs.unreadableFile()));

    lxPref.setStorageFile(commandLine.settingsFile());
    if (!commandLine.virtualEnv().isEmpty())
        lxPref.setRunValue(QStringLiteral("PYTHON_VIRTUAL_ENV"), commandLine.virtualEnv());
    if (commandLine.sitePackages())
        lxPref.setRunValue(QStringLiteral("PYTHON_SITE_PACKAGES"), QStringLiteral("true"));
    if (!commandLine.specialFolder().isEmpty())
        BAPP_SetSharedSpecialFolders(commandLine.specialFolder());
    ST_BatchParams::setBatchPython(commandLine.batchPython());
    // Read by the plug-in before its preference.
    if (commandLine.debugPort() > 0)
        qputenv("PYTHON_DEBUG_PORT", QByteArray::number(commandLine.debugPort()));

    HostServices services(commandLine.without());
    services.application()->setDarkStyle(commandLine.darkStyle());
    const QString pluginPath = commandLine.pluginPath().isEmpty() ? PluginLoader::defaultPluginPath()
                                                                  : commandLine.pluginPath();
    // Known before the library loads: its static objects may already ask for it.
    PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), QFileInfo(pluginPath).absolutePath());
    PluginLoader plugin;
    if (!plugin.load(pluginPath))
        return fail(plugin.error());
    initPlugin(plugin, commandLine.isHeadless());
    services.recordPythonLoadMessages();
    plugin.polish();

    // A headless run prints what Python writes as python would; the log, when asked for, still
    // gets the engine's messages.
    const JobRunner::OutputRoute route = commandLine.logFile().isEmpty() ? JobRunner::StandardStreams
                                                                          : JobRunner::StandardStreamsAndLog;
    int status = commandLine.isHeadless() ? jobs.run(services.scriptEngine(), route) : runWindow(commandLine, services, jobs);
    if (status == 0 && services.scriptApi() && services.scriptApi()->failedCallbacks() > 0)
        status = 1;
    plugin.unpolish();
    return status;
}
