#pragma once

#include <QApplication>

#include <memory>

class PythonQtScriptingConsole;

// The console base alone, as the benchmarks of its run loop need it: an offscreen application
// (unless a platform is named), the interpreter started with its output redirected, and a shown,
// focused console on the main module.
class BareConsole
{
public:
    BareConsole(int& argc, char** argv);
    ~BareConsole();

    // Null when Python did not start or the window never showed; the reason is on stderr.
    PythonQtScriptingConsole* console() const { return m_console.get(); }

private:
    static int& withOffscreenPlatform(int& argc);

    QApplication m_application;
    std::unique_ptr<PythonQtScriptingConsole> m_console;
};
