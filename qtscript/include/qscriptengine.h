#pragma once

#include "qscriptcontext.h"
#include "qscriptvalue.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class QScriptEnginePrivate;

// A QtScript-style script engine. Use it on the thread that created it only.
class QTSCRIPTCOMPAT_EXPORT QScriptEngine : public QObject
{
    Q_OBJECT
public:
    enum ValueOwnership {
        QtOwnership,     // the engine never deletes the object
        ScriptOwnership, // the engine deletes the object once its script value is collected
        AutoOwnership    // like ScriptOwnership, unless the object has a parent
    };

    enum QObjectWrapOption {
        ExcludeChildObjects = 0x0001,
        ExcludeSuperClassMethods = 0x0002,
        ExcludeSuperClassProperties = 0x0004,
        ExcludeSuperClassContents = 0x0006,
        SkipMethodsInEnumeration = 0x0008,
        ExcludeDeleteLater = 0x0010,
        ExcludeSlots = 0x0020,
        AutoCreateDynamicProperties = 0x0100,
        PreferExistingWrapperObject = 0x0200
    };
    Q_DECLARE_FLAGS(QObjectWrapOptions, QObjectWrapOption)

    typedef QScriptValue (*FunctionSignature)(QScriptContext*, QScriptEngine*);
    typedef QScriptValue (*FunctionWithArgSignature)(QScriptContext*, QScriptEngine*, void*);
    typedef QScriptValue (*MarshalFunction)(QScriptEngine*, const void*);
    typedef void (*DemarshalFunction)(const QScriptValue&, void*);

    explicit QScriptEngine(QObject* parent = nullptr);
    ~QScriptEngine() override;

    QScriptValue globalObject() const;

    // Runs a program. A thrown exception (syntax errors included) is returned as the result and
    // stays readable through uncaughtException() until the next evaluate or clearExceptions().
    QScriptValue evaluate(const QString& program, const QString& fileName = QString(),
                          int lineNumber = 1);
    bool hasUncaughtException() const;
    QScriptValue uncaughtException() const;
    int uncaughtExceptionLineNumber() const;
    QStringList uncaughtExceptionBacktrace() const;
    void clearExceptions();

    QScriptValue nullValue();
    QScriptValue undefinedValue();
    QScriptValue newObject();
    QScriptValue newArray(uint length = 0);
    QScriptValue newVariant(const QVariant& value);
    QScriptValue newQObject(QObject* object, ValueOwnership ownership = QtOwnership,
                            const QObjectWrapOptions& options = QObjectWrapOptions());
    QScriptValue newFunction(FunctionSignature function, int length = 0);
    QScriptValue newFunction(FunctionWithArgSignature function, void* arg);
    QScriptValue newError(const QString& message);

    void registerCustomType(int type, MarshalFunction marshal, DemarshalFunction demarshal,
                            const QScriptValue& prototype);
    // The same with callables; qScriptRegisterMetaType uses it to keep the conversions typed.
    using Marshaller = std::function<QScriptValue(QScriptEngine*, const void*)>;
    using Demarshaller = std::function<void(const QScriptValue&, void*)>;
    void registerCustomTypeFunctions(int type, Marshaller marshal, Demarshaller demarshal,
                                     const QScriptValue& prototype);
    QScriptValue defaultPrototype(int metaTypeId) const;

    // The value of type `type` at `ptr`: a registered marshal function first, then the standard
    // variant conversion.
    QScriptValue create(int type, const void* ptr);
    // Fills the value of type `type` at `ptr` from a script value; false when no conversion fits.
    bool convert(const QScriptValue& value, int type, void* ptr);

    template <typename T>
    QScriptValue toScriptValue(const T& value)
    {
        return create(qMetaTypeId<T>(), &value);
    }
    template <typename T>
    T fromScriptValue(const QScriptValue& value)
    {
        T result{};
        convert(value, qMetaTypeId<T>(), &result);
        return result;
    }

    void collectGarbage();

    // The context of the native function being called, or null outside native calls.
    QScriptContext* currentContext() const;

private:
    friend class QScriptEnginePrivate;
    std::unique_ptr<QScriptEnginePrivate> d;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(QScriptEngine::QObjectWrapOptions)

template <typename T>
T qscriptvalue_cast(const QScriptValue& value)
{
    if (QScriptEngine* engine = value.engine())
        return engine->fromScriptValue<T>(value);
    return qvariant_cast<T>(value.toVariant());
}

template <typename T>
QScriptValue qScriptValueFromValue(QScriptEngine* engine, const T& value)
{
    return engine->toScriptValue(value);
}

template <typename T>
int qScriptRegisterMetaType(QScriptEngine* engine,
                            QScriptValue (*toScriptValue)(QScriptEngine*, const T&),
                            void (*fromScriptValue)(const QScriptValue&, T&),
                            const QScriptValue& prototype = QScriptValue())
{
    const int id = qRegisterMetaType<T>();
    engine->registerCustomTypeFunctions(
        id,
        [toScriptValue](QScriptEngine* e, const void* p) {
            return toScriptValue(e, *static_cast<const T*>(p));
        },
        [fromScriptValue](const QScriptValue& v, void* p) { fromScriptValue(v, *static_cast<T*>(p)); },
        prototype);
    return id;
}
