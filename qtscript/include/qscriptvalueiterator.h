#pragma once

#include "qscriptvalue.h"

#include <QStringList>

// Walks the own properties of an object in insertion order (array indexes first).
class QTSCRIPTCOMPAT_EXPORT QScriptValueIterator
{
public:
    explicit QScriptValueIterator(const QScriptValue& object);
    ~QScriptValueIterator();
    QScriptValueIterator& operator=(QScriptValue& object);

    bool hasNext() const;
    void next();
    bool hasPrevious() const;
    void previous();
    void toFront();
    void toBack();

    QString name() const;
    QScriptValue value() const;
    void setValue(const QScriptValue& value);
    QScriptValue::PropertyFlags flags() const;
    void remove();

private:
    void reset(const QScriptValue& object);

    QScriptValue m_object;
    QStringList m_names;
    int m_position = -1; // index of the current property, -1 before the first
    int m_next = 0;      // index that next() moves to
};
