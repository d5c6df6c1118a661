#pragma once

#include <SCP_PythonRedirect.h>

class PythonScriptConsoleTextEdit;

// The console's redirect: while it tops the engine's redirect stack, Python's output goes to
// the editor unchanged.
class PythonScriptConsolePythonOutput : public SCP_PythonRedirect
{
public:
    PythonScriptConsolePythonOutput(SCP_PythonEngine* engine, PythonScriptConsoleTextEdit* editor);
    ~PythonScriptConsolePythonOutput() override;

    void writeStdOut(const QString& text) override;
    void writeStdErr(const QString& text) override;

private:
    PythonScriptConsoleTextEdit* editor;
};
