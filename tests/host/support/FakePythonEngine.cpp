#include "FakePythonEngine.h"

#include "MSG_Scope.h"
#include "SCP_PythonRedirect.h"

#include <QFileInfo>

namespace {

class CountingScope : public SCP_PythonEngine::GILScope_Priv, public SCP_PythonEngine::ThreadStateScope_Priv
{
public:
    CountingScope(int* depth, int step) : m_depth(depth), m_step(step) { *m_depth += m_step; }
    void release() override
    {
        *m_depth -= m_step;
        m_step = 0;
    }

private:
    int* m_depth;
    int m_step;
};

} // namespace

FakePythonEngine::~FakePythonEngine()
{
    for (FakePythonModule* fake : std::as_const(m_modules))
        FakePythonModule::destroy(fake);
}

FakePythonModule* FakePythonEngine::made(const QString& name, const QString& fileName)
{
    FakePythonModule*& fake = m_modules[name];
    if (!fake)
        fake = new FakePythonModule(name, fileName);
    return fake;
}

SCP_PythonModule* FakePythonEngine::importModule(const QString& name, bool reload)
{
    if (name.startsWith(QLatin1String("missing")))
        return nullptr;
    SCP_PythonModule* imported = createModule(name);
    if (reload)
        imported->reload();
    return imported;
}

SCP_PythonModule* FakePythonEngine::loadModule(const QString& filePath, bool reload, const QString& moduleName)
{
    const QFileInfo file(filePath);
    if (!file.isFile())
        return nullptr;
    const QString name = moduleName.isEmpty() ? file.baseName() : moduleName;
    if (reload && m_modules.contains(name))
        m_modules.value(name)->reload();
    return made(name, file.absoluteFilePath());
}

bool FakePythonEngine::reportError()
{
    if (!pendingError)
        return false;
    pendingError = false;
    MSG_Scope(QStringLiteral("FakeError"), 2);
    return true;
}

void FakePythonEngine::writeStdOut(const QString& text)
{
    if (currentRedirect)
        currentRedirect->writeStdOut(text);
    else
        MSG_Scope(QStringLiteral("[PY STDOUT] : ") + text, 7);
}

void FakePythonEngine::writeStdErr(const QString& text)
{
    if (currentRedirect)
        currentRedirect->writeStdErr(text);
    else
        MSG_Scope(QStringLiteral("[PY STDERR] : ") + text.simplified(), 7);
}

SCP_PythonEngine::GILScope_Priv* FakePythonEngine::createGILScope()
{
    return new CountingScope(&lockDepth, 1);
}

SCP_PythonEngine::ThreadStateScope_Priv* FakePythonEngine::createThreadStateScope()
{
    return new CountingScope(&lockDepth, -1);
}
