#pragma once

// The Python source of the module "bellwick": the host's main window and docks for Qt tools
// made in Python, through a Qt for Python binding built for the host's Qt.
const char* bellwickModuleSource();
