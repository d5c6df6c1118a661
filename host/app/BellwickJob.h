#pragma once

#include <QString>

// One piece of work given on the command line, run after the plug-in is polished.
struct BellwickJob
{
    enum Kind {
        Script,     // a JavaScript file for the host's script engine
        PythonFile, // a Python file run in the engine's main module
        PythonCode, // Python code run in the engine's main module
        PythonModule // a module run as __main__, as python -m runs it
    };

    Kind kind = Script;
    QString value; // the file path, or the code

    bool operator==(const BellwickJob& other) const { return kind == other.kind && value == other.value; }
};
