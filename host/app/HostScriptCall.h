#pragma once

#include <QScriptValue>
#include <QString>

class QScriptContext;
class QScriptEngine;
class QWidget;

// The arguments of one call of a native script function, read with checks. The first bad
// argument becomes the call's error; the function then ends without acting.
class HostScriptCall
{
public:
    explicit HostScriptCall(QScriptContext* context);

    QScriptEngine* engine() const;

    // A live widget; anything else (null, a deleted widget, another object) fails.
    QWidget* widget(int index);
    // The same, but null and undefined give null.
    QWidget* optionalWidget(int index);
    // Undefined and null give an empty string, other values their string form.
    QString string(int index) const;
    // A number with no fraction, within int; anything else fails.
    int integer(int index);
    // At least zero.
    int milliseconds(int index);
    QScriptValue function(int index);

    void fail(const QString& reason);
    bool failed() const { return !m_error.isEmpty(); }
    const QString& error() const { return m_error; }

private:
    QScriptValue argument(int index) const;
    void failArgument(int index, const QString& what);

    QScriptContext* m_context;
    QString m_error;
};
