#pragma once

#include <csignal>

// The signal dispositions Python expects while its interpreter lives in this process: SIGPIPE
// and SIGXFSZ ignored, as Python's own start-up sets them, so that writing to a closed pipe or
// past a file size limit raises BrokenPipeError or OSError instead of killing the host. Child
// processes that subprocess starts get the defaults back (restore_signals). The host's own
// dispositions return when the interpreter is finalised.
class PythonQtSignalDispositions
{
public:
    static void ignoreForPython();
    static void restoreHost();

private:
    static struct sigaction s_hostPipe;
    static struct sigaction s_hostFileSize;
    static bool s_saved;
};
