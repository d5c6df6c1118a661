#pragma once

#include "SCP_PythonFunction.h"
#include "SCP_PythonModule.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// An in-memory module. In the code given to execute(), a line "def NAME" defines a function that
// answers "NAME(args)", code starting with "raise" reports an error (an action-2 message) like a
// real engine, "None" gives an invalid variant and anything else echoes the code back.
class FakePythonModule : public SCP_PythonModule
{
public:
    using Body = std::function<QVariant(const QVariantList&)>;

    // Kept while the module lives; defining its name again replaces its body.
    class Function : public SCP_PythonFunction
    {
    public:
        Function(const QString& name, Body body) : body(std::move(body)), m_name(name) {}
        ~Function() override = default;
        const QString& name() override { return m_name; }
        QVariant call(QVariantList args) override { return body(args); }
        Body body;

    private:
        QString m_name;
    };

    FakePythonModule(const QString& name, const QString& fileName) : m_name(name), m_fileName(fileName) {}
    ~FakePythonModule() override = default;

    const QString& name() override { return m_name; }
    const QString& fileName() override { return m_fileName; }
    void reload() override { ++reloads; }
    void addModule(SCP_PythonModule* module) override { added.append(module); }
    bool hasModule(SCP_PythonModule* module) override { return added.contains(module); }
    QVariant execute(const QString& code) override;
    QVariant call(const QString& functionName, QVariantList args) override
    {
        Function* function = find(functionName);
        return function ? function->call(args) : QVariant();
    }
    QList<SCP_PythonFunction*> functions() override
    {
        QList<SCP_PythonFunction*> list;
        for (const auto& function : m_functions)
            list.append(function.get());
        return list;
    }

    void define(const QString& functionName, Body body)
    {
        if (Function* existing = find(functionName))
            existing->body = std::move(body);
        else
            m_functions.push_back(std::make_unique<Function>(functionName, std::move(body)));
    }

    QList<SCP_PythonModule*> added;
    int reloads = 0;

    // The engine owns its modules; the destructor of the base is protected.
    static void destroy(FakePythonModule* module) { delete module; }

private:
    Function* find(const QString& functionName) const
    {
        for (const auto& function : m_functions) {
            if (function->name() == functionName)
                return function.get();
        }
        return nullptr;
    }

    QString m_name;
    QString m_fileName;
    std::vector<std::unique_ptr<Function>> m_functions;
};
