#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>

class PythonQtScriptingConsole;
class QEventLoop;
class QKeyEvent;

// One console run: while console code executes on the main thread, a helper thread asks the
// interpreter (through a pending call, which it runs between two bytecodes) to let the main
// thread process events. Paint, timers and the interrupt key get through; other user input to
// the application is held back by an application event filter. input() waits here for a line
// typed into the console, with the interpreter lock given up.
class PythonQtConsoleRun : public QObject
{
public:
    explicit PythonQtConsoleRun(PythonQtScriptingConsole* console);
    ~PythonQtConsoleRun() override;

    // Whether any console of the process runs code now.
    static bool anyActive();
    bool isActive() const { return m_active; }

    void begin();
    void end();

    // Thread-safe: KeyboardInterrupt is raised in the running code at its next bytecode.
    void interrupt();

    bool isWaitingForInput() const { return m_inputLoop != nullptr; }
    int inputStart() const { return m_inputStart; }
    // The line the user typed into the console for the running code, with its line feed; empty
    // on end of input. False when the run was interrupted (KeyboardInterrupt is then set).
    static bool readLine(QString& line);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static int pumpEvents(void*);
    int pump();
    bool raiseInterruptIfRequested();
    bool waitForLine(QString& line);
    bool filterInputKey(QKeyEvent* key);
    bool isConsoleWidget(QObject* object) const;

    PythonQtScriptingConsole* m_console;
    bool m_active = false;
    bool m_pumping = false;
    std::atomic<bool> m_interruptRequested{false};
    QEventLoop* m_inputLoop = nullptr;
    int m_inputStart = 0;
    bool m_inputEnded = false;
    QString m_inputLine;
};
