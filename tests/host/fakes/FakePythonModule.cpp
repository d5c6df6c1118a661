#include "FakePythonModule.h"

#include "MSG_Scope.h"
#include "SCP_PythonFunction.h"

#include <QRegularExpression>

// A function of a FakePythonModule, kept while the module lives; defining its name again
// replaces what it does.
class FakePythonFunction : public SCP_PythonFunction
{
public:
    FakePythonFunction(const QString& name, FakePythonModule::Function function) : function(std::move(function)), m_name(name) {}
    ~FakePythonFunction() override = default;

    const QString& name() override { return m_name; }
    QVariant call(QVariantList args) override { return function(args); }

    FakePythonModule::Function function;

private:
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
    for (const auto& function : m_functions) {
        if (function->name() == functionName)
            return function->call(args);
    }
    return QVariant();
}

QList<SCP_PythonFunction*> FakePythonModule::functions()
{
    QList<SCP_PythonFunction*> list;
    for (const auto& function : m_functions)
        list.append(function.get());
    return list;
}

void FakePythonModule::define(const QString& functionName, Function function)
{
    for (const auto& existing : m_functions) {
        if (existing->name() == functionName) {
            existing->function = std::move(function);
            return;
        }
    }
    m_functions.push_back(std::make_unique<FakePythonFunction>(functionName, std::move(function)));
}
