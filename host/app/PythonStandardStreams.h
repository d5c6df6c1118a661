#pragma once

#include "SCP_PythonRedirect.h"

// While it lives, what Python writes goes unchanged to the process's standard output and error,
// as python's own would; with alsoToLog the engine's usual log messages are written as well.
class PythonStandardStreams : public SCP_PythonRedirect
{
public:
    PythonStandardStreams(SCP_PythonEngine* engine, bool alsoToLog);
    ~PythonStandardStreams() override;

    void writeStdOut(const QString& text) override;
    void writeStdErr(const QString& text) override;

    PythonStandardStreams(const PythonStandardStreams&) = delete;
    PythonStandardStreams& operator=(const PythonStandardStreams&) = delete;

private:
    // Hands text to the engine's own routing, which logs it when no redirect is installed.
    void forward(void (SCP_PythonEngine::*write)(const QString&), const QString& text);

    bool m_alsoToLog;
};
