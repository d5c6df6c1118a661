#pragma once

// Host message actions the plug-in logs with.
namespace MessageAction {
// Python output routed to the message log with its "[PY STDOUT] : "/"[PY STDERR] : " prefix.
constexpr int pythonOutput = 7;
// Errors, among them each line of a reported Python traceback.
constexpr int error = 2;
}
