#pragma once

// The action values a host message is logged with (MSG_Scope); the log and the job runner tell
// errors from output by them.
namespace MSG_Action {
enum Value : int {
    // Errors, among them each line of a reported Python traceback.
    Error = 2,
    // Python output logged with its "[PY STDOUT] : "/"[PY STDERR] : " prefix.
    PythonOutput = 7,
};
}
