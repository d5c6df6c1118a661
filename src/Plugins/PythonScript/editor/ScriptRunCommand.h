#pragma once

#include <QString>

// The console command that runs a whole file: runfile(path) runs it in __main__ with __file__
// set and the file's folder first on sys.path until it ends.
namespace ScriptRunCommand {

// Defines runfile among the built-ins unless it is there; false without an engine.
bool installRunFile();
// The command for path, its path as a Python string literal.
QString forFile(const QString& filePath);

} // namespace ScriptRunCommand
