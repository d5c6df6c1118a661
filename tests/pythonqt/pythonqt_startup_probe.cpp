// Starts the interpreter once with the legacy path/home settings named by argv[1] and prints
// the outcome on one line: "ok <sys.path joined by '|'>" or "failed <reason>".
#include <Python.h>

#include "PythonQt.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::wstring stdlib = QString(PYTHONQT_TEST_STDLIB).toStdWString();
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (mode == "broken") {
        Py_SetPythonHome(L"/nonexistent-prefix");
        Py_SetPath(L"/nonexistent-prefix/lib");
    } else if (mode == "semicolons") {
        static const std::wstring path = L"/probe/extra;" + stdlib + L";" + stdlib + L"/lib-dynload";
        Py_SetPath(path.c_str());
    } else if (mode == "colons") {
        static const std::wstring path = L"/probe/extra:" + stdlib + L":" + stdlib + L"/lib-dynload";
        Py_SetPath(path.c_str());
    }
#pragma GCC diagnostic pop
    PythonQt::init(PythonQt::IgnoreSiteModule);
    if (!PythonQt::self()->initSuccessfully()) {
        std::printf("failed %s\n", PythonQt::self()->initError().toUtf8().constData());
        PythonQt::cleanup();
        return 0;
    }
    const QString path = PythonQt::self()->getMainModule().evalScript(
        "'|'.join(__import__('sys').path)", Py_eval_input).toString();
    std::printf("ok %s\n", path.toUtf8().constData());
    PythonQt::cleanup();
    return 0;
}
