#pragma once

#include <QString>
#include <Qt>

class HostNativeFunctions;
class QScriptValue;
class QWidget;

// Key presses as the window system delivers them: a press and a release event carrying the key's
// text, offered to shortcut handling first and then delivered to the widget.
class HostKeyInput
{
public:
    // Qt's key name without "Key_" ("Return", "A"; a single letter in either case); false for a
    // name Qt does not know.
    static bool parseKey(const QString& name, Qt::Key* key);
    // Empty, or "Shift", "Control", "Alt" and "Meta" joined with "+" in any order. On failure
    // unknown is the part that named no modifier.
    static bool parseModifiers(const QString& text, Qt::KeyboardModifiers* modifiers, QString* unknown);
    // What a key press of key types: "a" for A, "\r" for Return; empty for keys that type nothing.
    static QString keyText(Qt::Key key);

    static void click(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers);
    // One click per character; a line feed is Return.
    static void typeText(QWidget* widget, const QString& text);

    // Host.keyClick(widget, key, modifiers) and Host.keyClicks(widget, text).
    static void install(HostNativeFunctions& functions, QScriptValue& host);
};
