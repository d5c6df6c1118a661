#include "console/PythonScriptConsoleRegistration.h"

// The console view is not part of this build yet; registering it adds nothing.
void registerConsoleView()
{
}

void unregisterConsoleView()
{
}
