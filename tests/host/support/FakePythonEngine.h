#pragma once

#include "FakePythonModule.h"
#include "SCP_PythonEngine.h"

#include <QMap>

// An engine without Python for host tests: modules are FakePythonModules, output goes to the
// redirect or to the message log, lock scopes count their depth.
class FakePythonEngine : public SCP_PythonEngine
{
public:
    SCP_PythonModule* mainModule() override { return createModule(QStringLiteral("__main__")); }
    SCP_PythonModule* createModule(const QString& name) override { return made(name, QString()); }
    // Null for a name starting with "missing".
    SCP_PythonModule* importModule(const QString& name, bool reload) override;
    // Null for a file that does not exist.
    SCP_PythonModule* loadModule(const QString& filePath, bool reload, const QString& moduleName) override;
    SCP_PythonModule* module(const QString& name) override { return m_modules.value(name); }
    QList<SCP_PythonModule*> modules() override { return QList<SCP_PythonModule*>(m_modules.cbegin(), m_modules.cend()); }
    void addSysPath(const QString& path) override { sysPaths.append(path); }
    bool hasError() override { return pendingError; }
    void clearError() override { pendingError = false; }
    bool reportError() override;
    void writeStdOut(const QString& text) override;
    void writeStdErr(const QString& text) override;
    void setRedirectObject(SCP_PythonRedirect* redirect) override { currentRedirect = redirect; }
    GILScope_Priv* createGILScope() override;
    ThreadStateScope_Priv* createThreadStateScope() override;

    FakePythonModule* fakeModule(const QString& name) { return m_modules.value(name); }

    QStringList sysPaths;
    bool pendingError = false;
    SCP_PythonRedirect* currentRedirect = nullptr;
    int lockDepth = 0;

protected:
    ~FakePythonEngine() override;

private:
    FakePythonModule* made(const QString& name, const QString& fileName);

    QMap<QString, FakePythonModule*> m_modules;
};
