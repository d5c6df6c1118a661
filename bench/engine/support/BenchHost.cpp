#include "support/BenchHost.h"

namespace {

// Runs before QApplication's constructor: benchmarks never need a display.
int& withOffscreenPlatform(int& argc)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

}

BenchHost::BenchHost(int& argc, char** argv)
    : application(withOffscreenPlatform(argc), argv)
    , pythonEngine(host.startPlugin())
{
}
