#pragma once

#include <QString>

// Writes "bellwick: <text>" as one line to standard error.
void printBellwickError(const QString& text);
