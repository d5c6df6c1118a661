#pragma once

#include "PythonQtExport.h"

// Holds the interpreter lock for its lifetime when lock scopes are enabled. Nests, and works on
// any thread; a thread keeps one Python thread state for its whole life.
class PYTHONQT_EXPORT PythonQtGILScope
{
public:
    PythonQtGILScope();
    ~PythonQtGILScope();
    // Gives the lock back early; the destructor then does nothing.
    void release();

    static void setGILScopeEnabled(bool enabled);
    static bool isGILScopeEnabled();

    PythonQtGILScope(const PythonQtGILScope&) = delete;
    PythonQtGILScope& operator=(const PythonQtGILScope&) = delete;

private:
    int m_state = 0;
    unsigned m_generation = 0;
    bool m_held = false;
};
