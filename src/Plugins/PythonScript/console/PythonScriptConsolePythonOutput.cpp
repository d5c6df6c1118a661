#include "console/PythonScriptConsolePythonOutput.h"

#include "console/PythonScriptConsoleTextEdit.h"

PythonScriptConsolePythonOutput::PythonScriptConsolePythonOutput(SCP_PythonEngine* engine,
                                                                 PythonScriptConsoleTextEdit* editor)
    : SCP_PythonRedirect(engine), editor(editor)
{
}

PythonScriptConsolePythonOutput::~PythonScriptConsolePythonOutput() = default;

void PythonScriptConsolePythonOutput::writeStdOut(const QString& text)
{
    editor->stdOut(text);
}

void PythonScriptConsolePythonOutput::writeStdErr(const QString& text)
{
    editor->stdErr(text);
}
