#pragma once

#include <QString>

class QWidget;

// Docks of the host's main window for tool windows made in Python, one per title.
class PythonToolDocks
{
public:
    // The view inside the dock titled title, made (with its Window-menu entry and its stored
    // place) on first use. Null, with the reason in error, when the host shows no main window.
    static QWidget* view(const QString& title, QString* error);
};
