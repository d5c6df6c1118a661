#include "TypedLineRun.h"

#include <PythonQt.h>

TypedLineRun::TypedLineRun(const QString& code, Stdout stdoutKind)
    : m_globals(PyModule_GetDict(PythonQt::self()->getMainModule()))
    , m_savedStdout(PySys_GetObject("stdout"))
{
    PythonQtObjectPtr devnull;
    if (stdoutKind == Discarded
        && devnull.setNewRef(PyRun_String("open(__import__('os').devnull, 'w')", Py_eval_input, m_globals, m_globals)))
        PySys_SetObject("stdout", devnull);
    // A compound statement typed on one line ends with its line feed.
    m_compiled.setNewRef(Py_CompileString((code + QLatin1Char('\n')).toUtf8().constData(), "<console>", Py_single_input));
}

TypedLineRun::~TypedLineRun()
{
    PySys_SetObject("stdout", m_savedStdout);
    PyErr_Clear();
}

void TypedLineRun::run()
{
    PythonQtObjectPtr result;
    if (m_compiled)
        result.setNewRef(PyEval_EvalCode(m_compiled, m_globals, m_globals));
}
