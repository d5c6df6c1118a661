#pragma once

#include "metaclasstable.h"
#include "qscriptengine.h"
#include "qscriptvalue_p.h"
#include "valueconverter.h"

#include <QHash>
#include <QJSEngine>
#include <QJSValue>

#include <memory>
#include <vector>

class QObjectBinding;

// State of one QScriptEngine: the QJSEngine underneath, the script helpers of runtime.js, the
// per-class tables of wrapped QObjects, native functions, custom types and the exception state.
class QScriptEnginePrivate
{
public:
    struct Native
    {
        QScriptEngine::FunctionSignature function = nullptr;
        QScriptEngine::FunctionWithArgSignature functionWithArg = nullptr;
        void* arg = nullptr;
    };
    struct CustomType
    {
        QScriptEngine::Marshaller marshal;
        QScriptEngine::Demarshaller demarshal;
        QScriptValue prototype;
    };

    explicit QScriptEnginePrivate(QScriptEngine* q);
    ~QScriptEnginePrivate();

    static QScriptEnginePrivate* get(QScriptEngine* engine) { return engine->d.get(); }
    // The engine of a value, or null when the value is invalid or has none.
    static QScriptEnginePrivate* of(const QScriptValue& value);

    QScriptValue wrap(const QJSValue& value) { return QScriptValuePrivate::make(value, q); }
    QJSValue helper(const char* name, const QJSValueList& args);
    QJSValue newArray(const QJSValueList& items);

    // Wraps a QObject in its (unique) script proxy. With `keepOwnership`, an object met before
    // keeps the ownership chosen then.
    QJSValue wrapQObject(QObject* object, QScriptEngine::ValueOwnership ownership, bool keepOwnership,
                         QScriptEngine::QObjectWrapOptions options = {});
    QObject* toQObject(const QJSValue& value, bool* isQObject = nullptr);
    QJSValue newVariant(const QVariant& value);
    bool isVariant(const QJSValue& value);
    // The variant box or the QObject wrapper a value stands for; undefined for anything else.
    QJSValue unwrap(const QJSValue& value) { return m_unwrap.call({value}); }
    QVariant variantOfBox(const QJSValue& box);
    // The hidden data of an object; false when it has none.
    bool dataOf(const QJSValue& object, QJSValue* data);

    // Calls a function, catching what it throws into the uncaught-exception state.
    QJSValue call(const QJSValue& function, const QJSValue& thisObject, const QJSValueList& args);
    QJSValue construct(const QJSValue& function, const QJSValueList& args);
    void setException(const QJSValue& exception, const QStringList& trace = {});

    int classIdFor(const QMetaObject* metaObject);
    const MetaClassTable& table(int classId) const { return *m_tables[size_t(classId)]; }

    const CustomType* customType(int type) const;

    QScriptEngine* q;
    QJSEngine js;
    ValueConverter converter;
    QObjectBinding* binding;
    QJSValue runtime;
    QHash<int, CustomType> customTypes;
    std::vector<Native> natives;
    QList<QScriptContext*> contexts;

    bool hasException = false;
    QJSValue exception;
    int exceptionLine = -1;
    QStringList exceptionTrace;

private:
    QHash<QByteArray, QJSValue> m_helpers;
    QJSValue m_wrap;
    QJSValue m_qobjectOf;
    QJSValue m_variantOf;
    QJSValue m_unwrap;
    QJSValue m_dataOf;
    QJSValue m_noData;
    QJSValue m_makeVariant;
    std::vector<std::unique_ptr<MetaClassTable>> m_tables;
    QList<QJSValue> m_handlers;
    QHash<const QMetaObject*, int> m_classIds;
};
