#pragma once

#include <QString>

// Prints the pending Python error to Python's standard error, as the interpreter would, without
// ever ending the process (SystemExit is displayed like any other exception). Returns the
// error's own last line ("Type: message"), which stands in for the traceback when the standard
// error swallows it (None, a non-stream, a sink). The caller holds the interpreter lock and
// knows an error is pending; the error is cleared afterwards.
QString printPendingError();
