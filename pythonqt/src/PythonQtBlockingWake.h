#pragma once

#include <csignal>

// Reaches the console's main thread while it is blocked in a C call (time.sleep, a lock or
// Event.wait, queue.get, select, an asyncio loop's poll). A dedicated signal, handled by a
// Python-level handler, is sent to that thread: the blocked call fails with EINTR, the waiting
// function runs the interpreter's signal handlers as Python requires, and the handler runs the
// console's pending call there (serving events, raising KeyboardInterrupt when asked to). The
// waiting function then carries on waiting, or ends with the exception.
class PythonQtBlockingWake
{
public:
    using PendingCall = int (*)(void*);

    // Installs the handler once per process, on the interpreter's main thread (elsewhere Python
    // cannot run signal handlers and this does nothing), and makes `call` what it runs.
    static void arm(PendingCall call);
    // The handler then does nothing until armed again.
    static void disarm();
    // Thread-safe and cheap: signals the armed main thread.
    static void wake();

    // A real-time signal that nothing else in the process uses.
    static int signalNumber() { return SIGRTMAX - 3; }
};
