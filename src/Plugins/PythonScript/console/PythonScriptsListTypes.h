#pragma once

// Makes the scripts list's classes known to Qt's meta-type system by name, so that a host can
// construct them from their names alone. Safe to call more than once.
void registerScriptsListTypes();
