#pragma once

// Adds the "Python Script Console" view to the host's layout.
void registerConsoleView();
// Leaves everything in place: the view stays registered for the rest of the process.
void unregisterConsoleView();
