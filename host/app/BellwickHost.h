#pragma once

class BellwickCommandLine;

// One run of the reference host: services, plug-in, then the jobs, the main window, or the jobs
// in the main window (--window).
class BellwickHost
{
public:
    // The process exit status: 0 success, 1 a failing job, 2 bad input (plug-in, files, log).
    static int run(const BellwickCommandLine& commandLine);
};
