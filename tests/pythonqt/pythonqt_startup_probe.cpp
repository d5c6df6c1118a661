// Starts the interpreter once with the start-up settings named by argv[1] and prints the
// outcome on one line: "ok <sys.path joined by '|'>" or "failed <reason>".
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtStartupSettings.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    const QString stdlib = QStringLiteral(PYTHONQT_TEST_STDLIB);
    if (mode == "broken") {
        PythonQtStartupSettings::setPythonHome(QStringLiteral("/nonexistent-prefix"));
        PythonQtStartupSettings::setPath(QStringLiteral("/nonexistent-prefix/lib"));
    } else if (mode == "semicolons") {
        PythonQtStartupSettings::setPath("/probe/extra;" + stdlib + ";" + stdlib + "/lib-dynload");
    } else if (mode == "colons") {
        PythonQtStartupSettings::setPath("/probe/extra:" + stdlib + ":" + stdlib + "/lib-dynload");
    }
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
