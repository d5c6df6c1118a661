#pragma once

// Registers the script views and joins them to the consoles: traceback links open the editor,
// console runs refresh the scripts list, the views run code through the console, and each
// console's command line is highlighted as Python. Called at PLUG_Polish.
void wireScriptViews();
