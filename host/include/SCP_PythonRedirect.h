#pragma once

#include "BellwickHostExport.h"

#include <QString>

class SCP_PythonEngine;

// Receives Python's output while it is the top of the engine's redirect stack.
class BELLWICK_HOST_EXPORT SCP_PythonRedirect
{
public:
    explicit SCP_PythonRedirect(SCP_PythonEngine* engine);
    virtual ~SCP_PythonRedirect();

    virtual void writeStdOut(const QString& text) = 0;
    virtual void writeStdErr(const QString& text) = 0;

    SCP_PythonEngine* engine() const { return m_engine; }

private:
    SCP_PythonEngine* m_engine;
};
