#include "PythonQtSignalDispositions.h"

struct sigaction PythonQtSignalDispositions::s_hostPipe;
struct sigaction PythonQtSignalDispositions::s_hostFileSize;
bool PythonQtSignalDispositions::s_saved = false;

void PythonQtSignalDispositions::ignoreForPython()
{
    if (s_saved)
        return;
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    s_saved = sigaction(SIGPIPE, &ignore, &s_hostPipe) == 0 && sigaction(SIGXFSZ, &ignore, &s_hostFileSize) == 0;
}

void PythonQtSignalDispositions::restoreHost()
{
    if (!s_saved)
        return;
    sigaction(SIGPIPE, &s_hostPipe, nullptr);
    sigaction(SIGXFSZ, &s_hostFileSize, nullptr);
    s_saved = false;
}
