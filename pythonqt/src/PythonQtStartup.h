#pragma once

#include <QString>

// Starts the interpreter through PyConfig so that a broken installation becomes a message.
class PythonQtStartup
{
public:
    // Makes libpython's symbols global, so that extension modules resolve them even when the
    // library linking us was loaded with private symbols.
    static void makeLibPythonGlobal();
    // Initialises the interpreter; an empty string on success, else the interpreter's reason.
    static QString initialize(bool ignoreSiteModule);
};
