#pragma once

#include <QObject>
#include <QString>

// The debug server an IDE attaches to (the Debug Adapter Protocol, through debugpy): it listens
// on 127.0.0.1 only and stops at breakpoints in code that runs in this process from files
// (run from the console, modules loaded by host scripts). Off by default: the user starts it
// from the console's menu or sets the preference "PYTHON_DEBUG_PORT" (the host's --debug-port),
// never a script.
class PythonScriptDebugServer : public QObject
{
    Q_OBJECT
public:
    static PythonScriptDebugServer* instance();

    // The port the host's command line or the preference asks for; 0 is off.
    static int configuredPort();
    // Starts on port (0: any free port); true when it listens. Once it listens, it stays.
    bool start(int port);
    // The menu's start: on the preference's port, else on the one IDEs try first.
    void startForUser();
    // Starts when the preference asks for it.
    void startIfConfigured();
    bool isListening() const { return m_port > 0; }
    int port() const { return m_port; }
    // What the consoles show about the server.
    QString state() const { return m_state; }

signals:
    void stateChanged(const QString& state);

private:
    void setState(const QString& state);

    int m_port = 0;
    QString m_state;
};
