#pragma once

#include <QStringList>

// Interpreter finalisation joins every non-daemon Python thread, however long it runs. This
// does that join first, for at most `seconds`, and then lets finalisation go on without the
// threads still running, whose names it returns. Takes the interpreter lock itself; gives it up
// while waiting, so the threads can finish.
QStringList finishPythonThreads(double seconds);
