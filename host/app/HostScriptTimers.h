#pragma once

#include <QObject>
#include <QScriptValue>

class HostNativeFunctions;

// Script functions called later from whichever event loop runs on the main thread: the host's,
// a script's Host.processEvents, or one nested inside a key event or a dialog.
class HostScriptTimers : public QObject
{
    Q_OBJECT
public:
    explicit HostScriptTimers(QObject* parent = nullptr);

    // Calls function once, milliseconds from now. A callback that throws is reported on standard
    // error with its file, line and message, and counted.
    void after(int milliseconds, const QScriptValue& function);
    int failedCallbacks() const { return m_failedCallbacks; }

    // Runs the event loop for that long: timers, posted events and queued output.
    static void processEvents(int milliseconds);

    // Host.after(milliseconds, function) and Host.processEvents(milliseconds).
    void install(HostNativeFunctions& functions, QScriptValue& host);

private:
    void callBack(const QScriptValue& function);

    int m_failedCallbacks = 0;
};
