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

    // The exit status when the job ends the run (SystemExit, an uncaught exception, which it
    // has printed), nothing when its code ran to the end.
    std::optional<int> run(const BellwickJob& job, const QStringList& arguments);

private:
    SCP_PythonModule* m_module;
};
