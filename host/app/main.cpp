#include "BellwickCommandLine.h"
#include "BellwickHost.h"
#include "HeadlessQtMessages.h"
#include "HostTranslations.h"

#include <QApplication>

#include <cstdio>

namespace {

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));

    BellwickCommandLine commandLine;
    switch (commandLine.parse(args)) {
    case BellwickCommandLine::Invalid:
        std::fprintf(stderr, "bellwick: %s\n\n%s", qPrintable(commandLine.error()), qPrintable(commandLine.helpText()));
        return 2;
    case BellwickCommandLine::ShowHelp:
        std::fputs(qPrintable(commandLine.helpText()), stdout);
        return 0;
    case BellwickCommandLine::ShowVersion:
        std::fputs("bellwick " BELLWICK_VERSION "\n", stdout);
        return 0;
    case BellwickCommandLine::Run:
        break;
    }

    const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!hasDisplay() && !platformChosen) {
        // Jobs run offscreen, with or without --window; only an interactive window needs a display.
        if (commandLine.jobs().isEmpty()) {
            std::fputs("bellwick: no display for the main window; run headless with --script, --python or -c, "
                       "or under a virtual display (xvfb-run bellwick)\n", stderr);
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (!commandLine.windowRun())
        HeadlessQtMessages::install();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("bellwick"));
    QApplication::setOrganizationName(QStringLiteral("Bellwick"));
    // Before the plug-in loads: its start-up lines are translated as they are written.
    HostTranslations::install(commandLine.language());
    return BellwickHost::run(commandLine);
}
