#include "FakePythonModule.h"

#include "MSG_Scope.h"
#include "SCP_PythonFunction.h"

#include <QRegularExpression>

// A function of a FakePythonModule: calling it calls the module's function of that name.
class FakePythonFunction : public SCP_PythonFunction
{
public:
    FakePythonFunction(FakePythonModule* module, const QString& name) : m_module(module), m_name(name) {}
    ~FakePythonFunction() override = default;

    const QString& name() override { return m_name; }
    QVariant call(QVariantList args) override { return m_module->call(m_name, args); }

private:
    FakePythonModule* m_module;
    QString m_name;
};

FakePythonModule::FakePythonModule(const QString& name, const QString& fileName)
    : m_name(name), m_fileName(fileName)
{
}

FakePythonModule::~FakePythonModule() = default;

QVariant FakePythonModule::execute(const QString& code)
{
    executed.append(code);
    if (code.startsWith(QLatin1String("raise"))) {
        MSG_Scope("Traceback (most recent call last):", 2);
        MSG_Scope(code, 2);
        return QVariant();
    }
    static const QRegularExpression definition(QStringLiteral("^def (\\w+)"), QRegularExpression::MultilineOption);
    for (auto match = definition.globalMatch(code); match.hasNext();) {
        const QString functionName = match.next().captured(1);
        define(functionName, [functionName](const QVariantList& args) {
            QStringList texts;
            for (const QVariant& arg : args)
                texts.append(arg.toString());
            return QVariant(QStringLiteral("%1(%2)").arg(functionName, texts.join(QLatin1Char(','))));
        });
    }
    return code == QLatin1String("None") ? QVariant() : QVariant(code);
}

QVariant FakePythonModule::call(const QString& functionName, QVariantList args)
{
    const Function function = m_functions.value(functionName);
    return function ? function(args) : QVariant();
}

QList<SCP_PythonFunction*> FakePythonModule::functions()
{
    while (m_functionObjects.size() < size_t(m_functionNames.size()))
        m_functionObjects.push_back(
            std::make_unique<FakePythonFunction>(this, m_functionNames.at(qsizetype(m_functionObjects.size()))));
    QList<SCP_PythonFunction*> list;
    for (const auto& function : m_functionObjects)
        list.append(function.get());
    return list;
}

void FakePythonModule::define(const QString& functionName, Function function)
{
    if (!m_functionNames.contains(functionName))
        m_functionNames.append(functionName);
    m_functions.insert(functionName, std::move(function));
}
