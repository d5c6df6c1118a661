#include "PythonJobLauncher.h"

#include "SCP_PythonEngine.h"
#include "SCP_PythonModule.h"

namespace {

// Runs in the interpreter; the jobs share the main module, as the console does.
const char* const launcherSource = R"py(
import linecache
import os
import sys
import traceback

_main = sys.modules["__main__"].__dict__


def _exit_status(code):
    if code is None:
        return 0
    if isinstance(code, int):
        return [int(code), None]
    sys.stderr.write(str(code) + "\n")
    return [1, None]


def _run(body, argv, folder, print_error):
    sys.argv = argv
    if folder is not None:
        sys.path.insert(0, folder)
    try:
        body()
    except SystemExit as exit:
        return _exit_status(exit.code)
    except BaseException as error:
        # Without this function's and body's frames, the traceback reads as python's.
        frames = error.__traceback__.tb_next.tb_next
        if print_error:
            sys.excepthook(type(error), error.with_traceback(frames), frames)
        return [1, "".join(traceback.format_exception(type(error), error, frames))]
    finally:
        if folder is not None and folder in sys.path:
            sys.path.remove(folder)
    return []


def run_code(code, args, print_error):
    def body():
        compiled = compile(code, "<string>", "exec")
        # Pythons that show the source of -c in tracebacks (3.13+) keep it in linecache this way.
        register = getattr(linecache, "_register_code", None)
        if register:
            register(compiled, code, "<string>")
        exec(compiled, _main)

    return _run(body, ["-c"] + list(args), "", print_error)


def run_file(path, args, print_error):
    file_name = os.path.abspath(path)

    def body():
        with open(file_name, "rb") as source:
            code = compile(source.read(), file_name, "exec")
        _main["__file__"] = file_name
        _main["__cached__"] = None
        exec(code, _main)

    return _run(body, [path] + list(args), os.path.dirname(os.path.realpath(file_name)), print_error)


def run_module(name, args, print_error):
    import runpy
    return _run(lambda: runpy._run_module_as_main(name), ["-m"] + list(args), os.getcwd(), print_error)
)py";

const char* functionName(BellwickJob::Kind kind)
{
    switch (kind) {
    case BellwickJob::PythonFile:
        return "run_file";
    case BellwickJob::PythonModule:
        return "run_module";
    default:
        return "run_code";
    }
}

} // namespace

PythonJobLauncher::PythonJobLauncher(SCP_PythonEngine* engine)
    : m_engine(engine)
    , m_module(engine->createModule(QStringLiteral("_bellwick_jobs")))
{
    if (m_module)
        m_module->execute(QString::fromUtf8(launcherSource));
}

std::optional<PythonJobLauncher::End> PythonJobLauncher::run(const BellwickJob& job, const QStringList& arguments, bool printError)
{
    if (!m_module)
        return End{1, QString()};
    const QVariant end = m_module->call(QString::fromLatin1(functionName(job.kind)), {job.value, arguments, printError});
    // No answer at all: the launcher itself did not run (its error, if any, is reported).
    if (!end.isValid()) {
        m_engine->reportError();
        return End{1, QString()};
    }
    // [] when the code ran to its end, [status, error] when it ended the run.
    const QVariantList parts = end.typeId() == QMetaType::QVariantList ? end.toList() : QVariantList();
    if (parts.isEmpty())
        return std::nullopt;
    return End{parts.value(0).toInt(), parts.value(1).toString()};
}
