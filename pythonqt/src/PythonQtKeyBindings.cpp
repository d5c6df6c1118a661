#include "PythonQtKeyBindings.h"

#include <QHash>
#include <QKeyEvent>
#include <QList>

bool PythonQtKeyBindings::matches(const QKeyEvent* event, QKeySequence::StandardKey key)
{
    static QHash<int, QList<QKeySequence>> bindings;
    auto found = bindings.find(key);
    if (found == bindings.end())
        found = bindings.insert(key, QKeySequence::keyBindings(key));
    // As QKeyEvent::matches: the keypad and group switch modifiers make no difference.
    const int combination = (event->modifiers() | event->key()) & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    return found->contains(QKeySequence(combination));
}
