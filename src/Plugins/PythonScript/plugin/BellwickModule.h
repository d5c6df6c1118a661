#pragma once

// The Python modules "bellwick" and its native part "_bellwick", put in sys.modules once the
// interpreter runs, so that scripts import them without any folder on the search path.
class BellwickModule
{
public:
    // Needs a running interpreter; takes the lock itself. A failure is printed to sys.stderr.
    static void install();
};
