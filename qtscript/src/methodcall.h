#pragma once

#include "metaclasstable.h"

#include <QJSValue>

#include <vector>

class QScriptEnginePrivate;

// One script call of a QObject method: picks the overload that fits the arguments best (by
// count, then by how well each argument converts), converts them and invokes it.
class MethodCall
{
public:
    MethodCall(QScriptEnginePrivate& engine, const QList<MetaClassTable::Method>& overloads,
               const QJSValue& args);

    bool resolve();
    QString error() const { return m_error; }
    QJSValue invoke(QObject* object);

private:
    int score(const MetaClassTable::Method& method);
    QString describeCandidates() const;

    QScriptEnginePrivate& m_engine;
    const QList<MetaClassTable::Method>& m_overloads;
    std::vector<QJSValue> m_args;
    const MetaClassTable::Method* m_chosen = nullptr;
    QString m_error;
};
