#pragma once

#include <QPoint>

class HostNativeFunctions;
class QScriptValue;
class QWidget;

// Left-button mouse input in a widget's coordinates (its viewport's, for scroll areas), delivered
// as the window system's own events are, so a click also gives focus as the widget's policy says.
class HostMouseInput
{
public:
    static void click(QWidget* widget, const QPoint& at);
    // Press at from, move there in a few steps, release at to.
    static void drag(QWidget* widget, const QPoint& from, const QPoint& to);

    // Host.mouseClick(widget, x, y) and Host.mouseDrag(widget, x1, y1, x2, y2).
    static void install(HostNativeFunctions& functions, QScriptValue& host);
};
