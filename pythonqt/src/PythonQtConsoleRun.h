#pragma once

#include <QList>
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
//
// What the user types or pastes into the console meanwhile is kept in order (type-ahead): it
// answers input() and sys.stdin when they read, and what is left goes to the command line
// after the run, as a terminal does. Ctrl+C drops it, as a terminal's interrupt does.
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
    // The answer is the end of the last line; output of other threads goes above that line.
    int inputStart() const;
    // Text pasted into the console while the run goes on.
    void paste(const QString& text);
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
    bool isAnswering() const { return m_inputLoop && !m_lineReady; }
    void finishLine(bool ended);
    // Types text into the answer up to its first line feed; what follows waits its turn.
    void typeIntoAnswer(const QString& text);
    // Hands type-ahead to the answer until it is complete.
    void answerFromTypeAhead();
    // Type-ahead left after the run, given to the console as if typed now.
    void replayTypeAhead();

    // A key press, or a pasted text (key 0).
    struct TypedInput
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };

    PythonQtScriptingConsole* m_console;
    bool m_active = false;
    bool m_pumping = false;
    std::atomic<bool> m_interruptRequested{false};
    QEventLoop* m_inputLoop = nullptr;
    int m_inputColumn = 0;
    bool m_lineReady = false;
    bool m_inputEnded = false;
    QString m_inputLine;
    QList<TypedInput> m_typeAhead;
};
