#include "qscriptvalueiterator.h"

#include "qscriptengine_p.h"

QScriptValueIterator::QScriptValueIterator(const QScriptValue& object)
{
    reset(object);
}

QScriptValueIterator::~QScriptValueIterator() = default;

QScriptValueIterator& QScriptValueIterator::operator=(QScriptValue& object)
{
    reset(object);
    return *this;
}

void QScriptValueIterator::reset(const QScriptValue& object)
{
    m_object = object;
    m_names.clear();
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(object);
    if (e && object.isObject()) {
        const QJSValue names = e->helper("names", {QScriptValuePrivate::js(object)});
        const quint32 count = names.property(QStringLiteral("length")).toUInt();
        for (quint32 i = 0; i < count; ++i)
            m_names.append(names.property(i).toString());
    }
    toFront();
}

bool QScriptValueIterator::hasNext() const { return m_next < m_names.size(); }

void QScriptValueIterator::next()
{
    if (hasNext())
        m_position = m_next++;
}

bool QScriptValueIterator::hasPrevious() const { return m_next > 0; }

void QScriptValueIterator::previous()
{
    if (hasPrevious())
        m_position = --m_next;
}

void QScriptValueIterator::toFront()
{
    m_position = -1;
    m_next = 0;
}

void QScriptValueIterator::toBack()
{
    m_position = -1;
    m_next = int(m_names.size());
}

QString QScriptValueIterator::name() const
{
    return m_names.value(m_position);
}

QScriptValue QScriptValueIterator::value() const
{
    return m_position < 0 ? QScriptValue() : m_object.property(name());
}

void QScriptValueIterator::setValue(const QScriptValue& value)
{
    if (m_position >= 0)
        m_object.setProperty(name(), value);
}

QScriptValue::PropertyFlags QScriptValueIterator::flags() const
{
    return m_position < 0 ? QScriptValue::PropertyFlags() : m_object.propertyFlags(name());
}

void QScriptValueIterator::remove()
{
    if (m_position < 0)
        return;
    m_object.setProperty(name(), QScriptValue());
    m_names.removeAt(m_position);
    if (m_next > m_position)
        --m_next;
    m_position = -1;
}
