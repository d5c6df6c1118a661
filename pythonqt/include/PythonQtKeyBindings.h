#pragma once

#include "PythonQtExport.h"

#include <QKeySequence>

class QKeyEvent;

// QKeyEvent::matches() with the platform's bindings looked up once per process: the console
// asks for several standard keys on every key press, and each lookup walks the theme's table.
class PYTHONQT_EXPORT PythonQtKeyBindings
{
public:
    static bool matches(const QKeyEvent* event, QKeySequence::StandardKey key);
};
