#pragma once

#include "SCP_PythonModule.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class FakePythonFunction;

// An in-memory module. execute() records the code: a line "def NAME" defines a function that
// answers "NAME(args)", code starting with "raise" reports an error (an action-2 message) like a
// real engine, "None" gives an invalid variant and anything else echoes the code back.
class FakePythonModule : public SCP_PythonModule
{
public:
    using Function = std::function<QVariant(const QVariantList&)>;

    FakePythonModule(const QString& name, const QString& fileName);
    ~FakePythonModule() override;

    const QString& name() override { return m_name; }
    const QString& fileName() override { return m_fileName; }
    void reload() override { ++reloads; }
    void addModule(SCP_PythonModule* module) override { added.append(module); }
    bool hasModule(SCP_PythonModule* module) override { return added.contains(module); }
    QVariant execute(const QString& code) override;
    QVariant call(const QString& functionName, QVariantList args) override;
    QList<SCP_PythonFunction*> functions() override;

    void define(const QString& functionName, Function function);

    QStringList executed;
    QList<SCP_PythonModule*> added;
    int reloads = 0;

    // The engine owns its modules; the destructor of the base is protected.
    static void destroy(FakePythonModule* module) { delete module; }

private:
    QString m_name;
    QString m_fileName;
    std::vector<std::unique_ptr<FakePythonFunction>> m_functions;
};
