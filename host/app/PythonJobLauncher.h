#pragma once

#include "BellwickJob.h"

#include <QStringList>

#include <optional>

class SCP_PythonEngine;
class SCP_PythonModule;

// Runs Python jobs the way python runs its command line: sys.argv set, a file run with its
// __file__ and its folder first on sys.path, -m through runpy, tracebacks from the job's own
// frames, and SystemExit's code as the status.
class PythonJobLauncher
{
public:
    explicit PythonJobLauncher(SCP_PythonEngine* engine);

    // How a job ended the run: its exit status and, for an uncaught exception, its traceback.
    struct End
    {
        int status;
        QString error;
    };

    // Nothing when the job's code ran to its end. printError: an uncaught exception's traceback
    // goes to sys.stderr (through sys.excepthook) as python prints it.
    std::optional<End> run(const BellwickJob& job, const QStringList& arguments, bool printError);

private:
    SCP_PythonEngine* m_engine;
    SCP_PythonModule* m_module;
};
