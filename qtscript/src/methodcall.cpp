#include "methodcall.h"

#include "qscriptengine_p.h"

#include <QMetaMethod>

namespace {

constexpr int ExtraArgumentCost = 10;

// A default-constructed object of a meta-type, destroyed with the storage.
class ArgumentSlot
{
public:
    explicit ArgumentSlot(QMetaType type) : m_type(type), m_data(type.create()) {}
    ~ArgumentSlot() { m_type.destroy(m_data); }
    ArgumentSlot(const ArgumentSlot&) = delete;
    ArgumentSlot& operator=(const ArgumentSlot&) = delete;
    void* data() const { return m_data; }

private:
    QMetaType m_type;
    void* m_data;
};

} // namespace

MethodCall::MethodCall(QScriptEnginePrivate& engine, const QList<MetaClassTable::Method>& overloads,
                       const QJSValue& args)
    : m_engine(engine), m_overloads(overloads)
{
    const quint32 count = args.property(QStringLiteral("length")).toUInt();
    m_args.reserve(count);
    for (quint32 i = 0; i < count; ++i)
        m_args.push_back(args.property(i));
}

int MethodCall::score(const MetaClassTable::Method& method)
{
    const qsizetype parameters = method.parameterTypes.size();
    if (qsizetype(m_args.size()) < parameters)
        return ValueConverter::NoMatch;
    int total = int(qsizetype(m_args.size()) - parameters) * ExtraArgumentCost;
    for (qsizetype i = 0; i < parameters; ++i) {
        const int fit = m_engine.converter.fit(m_args[size_t(i)], method.parameterTypes.at(i));
        if (fit == ValueConverter::NoMatch)
            return ValueConverter::NoMatch;
        total += fit;
    }
    return total;
}

bool MethodCall::resolve()
{
    int best = ValueConverter::NoMatch;
    for (const MetaClassTable::Method& method : m_overloads) {
        const int s = score(method);
        if (s != ValueConverter::NoMatch && (best == ValueConverter::NoMatch || s < best)) {
            best = s;
            m_chosen = &method;
            if (s == 0)
                break;
        }
    }
    if (!m_chosen)
        m_error = QStringLiteral("no overload fits %1 argument(s); candidates: %2")
                      .arg(m_args.size())
                      .arg(describeCandidates());
    return m_chosen != nullptr;
}

QString MethodCall::describeCandidates() const
{
    QStringList signatures;
    for (const MetaClassTable::Method& method : m_overloads) {
        QStringList types;
        for (const QMetaType& type : method.parameterTypes)
            types.append(QString::fromLatin1(type.name()));
        signatures.append(QStringLiteral("(%1)").arg(types.join(QLatin1Char(','))));
    }
    signatures.removeDuplicates();
    return signatures.join(QStringLiteral(", "));
}

QJSValue MethodCall::invoke(QObject* object)
{
    const qsizetype count = m_chosen->parameterTypes.size();
    std::vector<std::unique_ptr<ArgumentSlot>> storage;
    storage.reserve(size_t(count) + 1);
    std::vector<void*> argv(size_t(count) + 1, nullptr);
    const QMetaType returnType = m_chosen->returnType;
    const bool hasResult = returnType.isValid() && returnType.id() != QMetaType::Void;
    if (hasResult) {
        storage.push_back(std::make_unique<ArgumentSlot>(returnType));
        argv[0] = storage.back()->data();
    }
    for (qsizetype i = 0; i < count; ++i) {
        const QMetaType type = m_chosen->parameterTypes.at(i);
        storage.push_back(std::make_unique<ArgumentSlot>(type));
        if (!m_engine.converter.convert(m_args[size_t(i)], type, storage.back()->data())) {
            m_engine.js.throwError(QJSValue::TypeError,
                                   QStringLiteral("argument %1 cannot be converted to %2")
                                       .arg(i + 1)
                                       .arg(QString::fromLatin1(type.name())));
            return QJSValue();
        }
        argv[size_t(i) + 1] = storage.back()->data();
    }
    QMetaObject::metacall(object, QMetaObject::InvokeMetaMethod, m_chosen->index, argv.data());
    return hasResult ? m_engine.converter.toScript(returnType, argv[0]) : QJSValue();
}
