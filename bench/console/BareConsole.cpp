#include "BareConsole.h"

#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"

#include <QTest>

BareConsole::BareConsole(int& argc, char** argv)
    : m_application(withOffscreenPlatform(argc), argv)
{
    PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
    if (!PythonQt::self()->initSuccessfully()) {
        qCritical("Python did not start: %s", qPrintable(PythonQt::self()->initError()));
        return;
    }
    PythonQt::self()->startThreads();
    auto console = std::make_unique<PythonQtScriptingConsole>(nullptr, PythonQt::self()->getMainModule());
    console->resize(800, 600);
    console->show();
    if (!QTest::qWaitForWindowExposed(console.get())) {
        qCritical("The console's window was never shown");
        return;
    }
    console->setFocus();
    m_console = std::move(console);
}

// The console goes before the application.
BareConsole::~BareConsole() = default;

int& BareConsole::withOffscreenPlatform(int& argc)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}
