#pragma once

#include <QCoreApplication>
#include <QEvent>

// QEvent lets only a class of this name mark an event as the window system's own: widgets give
// focus on click, and shortcuts see keys, only for such events. (Qt's test library declares the
// same class for the same reason; the host's automation does not link it.)
class QSpontaneKeyEvent
{
public:
    // Delivers event to receiver as if it came from the window system.
    static bool deliver(QObject* receiver, QEvent* event)
    {
        event->setSpontaneous();
        return QCoreApplication::instance()->notify(receiver, event);
    }
};
