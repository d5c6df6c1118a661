#pragma once

// Adds the "Python Scripts" and "Python Script Editor" areas to the host's layout (at
// PLUG_Polish, after the console's area).
void registerScriptViews();
