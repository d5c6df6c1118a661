#include "HostMouseInput.h"

#include "HostNativeFunctions.h"
#include "HostScriptCall.h"
#include "HostSpontaneousEvent.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPointer>
#include <QScriptValue>

namespace {

const int dragSteps = 4;

QWidget* receiverOf(QWidget* widget)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(widget);
    return area ? area->viewport() : widget;
}

void send(QWidget* receiver, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, receiver->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    // Focus on click is given only for input that comes from the window system.
    QSpontaneKeyEvent::deliver(receiver, &event);
}

} // namespace

void HostMouseInput::click(QWidget* widget, const QPoint& at)
{
    drag(widget, at, at);
}

void HostMouseInput::drag(QWidget* widget, const QPoint& from, const QPoint& to)
{
    const QPointer<QWidget> receiver(receiverOf(widget));
    send(receiver, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; receiver && from != to && step <= dragSteps; ++step)
        send(receiver, QEvent::MouseMove, from + (to - from) * step / dragSteps, Qt::LeftButton);
    if (receiver)
        send(receiver, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void HostMouseInput::install(HostNativeFunctions& functions, QScriptValue& host)
{
    functions.add(host, QStringLiteral("mouseClick"), [](HostScriptCall& call) {
        QWidget* widget = call.widget(0);
        const QPoint at(call.integer(1), call.integer(2));
        if (!call.failed())
            click(widget, at);
        return QScriptValue();
    });
    functions.add(host, QStringLiteral("mouseDrag"), [](HostScriptCall& call) {
        QWidget* widget = call.widget(0);
        const QPoint from(call.integer(1), call.integer(2));
        const QPoint to(call.integer(3), call.integer(4));
        if (!call.failed())
            drag(widget, from, to);
        return QScriptValue();
    });
}
