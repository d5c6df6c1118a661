#include "editor/ScriptRunCommand.h"

#include <PLUG_Services.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>
#include <SC_SessionContext.h>

namespace {

// The helper's own frame shows in tracebacks as File "<string>", which links nowhere.
const char* const runFileSource = R"PY(
import builtins as _builtins

def runfile(path):
    import os, sys
    main = sys.modules['__main__'].__dict__
    folder = os.path.dirname(os.path.abspath(path))
    with open(path, 'rb') as source:
        code = compile(source.read(), path, 'exec')
    missing = object()
    previous = main.get('__file__', missing)
    main['__file__'] = path
    sys.path.insert(0, folder)
    try:
        exec(code, main)
    finally:
        if folder in sys.path:
            sys.path.remove(folder)
        if previous is missing:
            main.pop('__file__', None)
        else:
            main['__file__'] = previous

if not hasattr(_builtins, 'runfile'):
    _builtins.runfile = runfile
)PY";

} // namespace

bool ScriptRunCommand::installRunFile()
{
    SC_SessionContext* session = PLUG_Services::getSessionContext();
    SCP_PythonEngine* engine = session ? session->pythonEngine() : nullptr;
    SCP_PythonModule* helper = engine ? engine->createModule(QStringLiteral("_pythonscript_runfile")) : nullptr;
    if (!helper)
        return false;
    helper->execute(QString::fromUtf8(runFileSource));
    return true;
}

QString ScriptRunCommand::forFile(const QString& filePath)
{
    QString literal = filePath;
    literal.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QStringLiteral("runfile('%1')").arg(literal);
}
