#include "SCP_PythonEngine.h"

#include "PLUG_Services.h"
#include "SCP_PythonModule.h"
#include "SC_SessionContext.h"

namespace {

// Host helpers run in Python; evaluate() reads the names of __main__.
const char* const helpersSource =
    "import __main__\n"
    "def evaluate(code):\n"
    "    return eval(code, __main__.__dict__)\n";

// Ends a lock scope made by the engine: releases it once, then deletes it.
template <class Priv>
void endScope(Priv*& priv)
{
    if (!priv)
        return;
    priv->release();
    delete priv;
    priv = nullptr;
}

} // namespace

SCP_PythonEngine::GILScope_Priv::~GILScope_Priv() = default;
SCP_PythonEngine::ThreadStateScope_Priv::~ThreadStateScope_Priv() = default;

SCP_PythonEngine::GILScope::GILScope()
    : GILScope(SCP_PythonEngine::current())
{
}

SCP_PythonEngine::GILScope::GILScope(SCP_PythonEngine* engine)
    : m_priv(engine ? engine->createGILScope() : nullptr)
{
}

SCP_PythonEngine::GILScope::~GILScope()
{
    release();
}

void SCP_PythonEngine::GILScope::release()
{
    endScope(m_priv);
}

SCP_PythonEngine::ThreadStateScope::ThreadStateScope()
    : ThreadStateScope(SCP_PythonEngine::current())
{
}

SCP_PythonEngine::ThreadStateScope::ThreadStateScope(SCP_PythonEngine* engine)
    : m_priv(engine ? engine->createThreadStateScope() : nullptr)
{
}

SCP_PythonEngine::ThreadStateScope::~ThreadStateScope()
{
    release();
}

void SCP_PythonEngine::ThreadStateScope::release()
{
    endScope(m_priv);
}

SCP_PythonEngine::SCP_PythonEngine() = default;
SCP_PythonEngine::~SCP_PythonEngine() = default;

QVariant SCP_PythonEngine::evaluate(const QString& code)
{
    SCP_PythonModule* helpers = helpersModule();
    if (!helpers)
        return QVariant();
    return helpers->call(QStringLiteral("evaluate"), {code});
}

SCP_PythonModule* SCP_PythonEngine::helpersModule()
{
    if (!m_helpersModule) {
        GILScope scope(this);
        m_helpersModule = createModule(QStringLiteral("bellwick_helpers"));
        if (m_helpersModule)
            m_helpersModule->execute(QString::fromLatin1(helpersSource));
    }
    return m_helpersModule;
}

void SCP_PythonEngine::addModuleToMain(SCP_PythonModule* module)
{
    // The host's own helpers stay importable but are not bound among the user's names.
    SCP_PythonModule* main = mainModule();
    if (main && module && module != m_helpersModule)
        main->addModule(module);
}

void SCP_PythonEngine::pushRedirectObject(SCP_PythonRedirect* redirect)
{
    m_redirectStack.append(redirect);
    setRedirectObject(redirect);
}

void SCP_PythonEngine::popRedirectObject()
{
    if (!m_redirectStack.isEmpty())
        m_redirectStack.removeLast();
    setRedirectObject(m_redirectStack.isEmpty() ? nullptr : m_redirectStack.last());
}

int& SCP_PythonEngine::mainThreadState()
{
    static int state = 0;
    return state;
}

SCP_PythonEngine* SCP_PythonEngine::current()
{
    SC_SessionContext* context = PLUG_Services::getSessionContext();
    return context ? context->pythonEngine() : nullptr;
}

void SCP_PythonEngine::destroy(SCP_PythonEngine* engine)
{
    delete engine;
}
