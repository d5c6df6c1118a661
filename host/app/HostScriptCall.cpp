#include "HostScriptCall.h"

#include <QScriptContext>
#include <QScriptEngine>
#include <QWidget>

#include <cmath>
#include <limits>

HostScriptCall::HostScriptCall(QScriptContext* context)
    : m_context(context)
{
}

QScriptEngine* HostScriptCall::engine() const
{
    return m_context->engine();
}

QScriptValue HostScriptCall::argument(int index) const
{
    return m_context->argument(index);
}

void HostScriptCall::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
}

void HostScriptCall::failArgument(int index, const QString& what)
{
    fail(QStringLiteral("argument %1 %2").arg(index + 1).arg(what));
}

QWidget* HostScriptCall::widget(int index)
{
    const QScriptValue value = argument(index);
    QObject* object = value.toQObject();
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget)
        return widget;
    // A wrapper whose object is gone still answers isQObject().
    if (value.isQObject() && !object)
        failArgument(index, QStringLiteral("is a deleted widget"));
    else
        failArgument(index, QStringLiteral("is not a widget: %1").arg(value.toString()));
    return nullptr;
}

QWidget* HostScriptCall::optionalWidget(int index)
{
    const QScriptValue value = argument(index);
    return value.isNull() || value.isUndefined() ? nullptr : widget(index);
}

QString HostScriptCall::string(int index) const
{
    const QScriptValue value = argument(index);
    return value.isNull() || value.isUndefined() ? QString() : value.toString();
}

int HostScriptCall::integer(int index)
{
    const QScriptValue value = argument(index);
    const double number = value.isNumber() ? value.toNumber() : std::nan("");
    if (number != std::trunc(number) || std::abs(number) > std::numeric_limits<int>::max()) {
        failArgument(index, QStringLiteral("is not a whole number: %1").arg(value.toString()));
        return 0;
    }
    return int(number);
}

int HostScriptCall::milliseconds(int index)
{
    const int value = integer(index);
    if (value < 0)
        failArgument(index, QStringLiteral("is a negative time: %1").arg(value));
    return qMax(value, 0);
}

QScriptValue HostScriptCall::function(int index)
{
    const QScriptValue value = argument(index);
    if (!value.isFunction())
        failArgument(index, QStringLiteral("is not a function: %1").arg(value.toString()));
    return value;
}
