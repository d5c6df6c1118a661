#include "console/PythonScriptConsoleEvents.h"

PythonScriptConsoleEvents* PythonScriptConsoleEvents::instance()
{
    static PythonScriptConsoleEvents events;
    return &events;
}
