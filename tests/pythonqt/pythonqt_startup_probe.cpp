// Loaded with private symbols by tst_pythonqt_startup, as a host loads a plug-in: starts the
// interpreter once with the start-up settings that mode names and answers on one line,
// "ok <answer>" or "failed <reason>".
#include "PythonQt.h"
#include "PythonQtStartupSettings.h"

#include <cstring>

extern "C" __attribute__((visibility("default"))) void pythonqtStartupProbe(const char* mode, char* answer, int size)
{
    const QString stdlib = QStringLiteral(PYTHONQT_TEST_STDLIB);
    const QByteArray wanted(mode);
    if (wanted == "broken") {
        PythonQtStartupSettings::setPythonHome("/nonexistent-prefix");
        PythonQtStartupSettings::setPath("/nonexistent-prefix/lib");
    } else if (wanted == "semicolons" || wanted == "colons") {
        PythonQtStartupSettings::setPath(QStringList{"/probe/extra", stdlib, stdlib + "/lib-dynload"}.join(wanted == "colons" ? ':' : ';'));
    }
    PythonQt::init(PythonQt::IgnoreSiteModule);
    QByteArray result = "failed " + PythonQt::self()->initError().toUtf8();
    if (PythonQt::self()->initSuccessfully()) {
        // Extension modules need libpython's symbols, which this library's loading kept private.
        PythonQtObjectPtr main = PythonQt::self()->getMainModule();
        main.evalScript(wanted == "imports" ? "import ctypes, decimal, _json, sqlite3\n"
                                              "answer = '%s %s' % (decimal.Decimal('1.1') + 1, ctypes.sizeof(ctypes.c_int))"
                                            : "answer = '|'.join(__import__('sys').path)");
        result = "ok " + main.getVariable("answer").toString().toUtf8();
        main = nullptr;
    }
    PythonQt::cleanup();
    std::strncpy(answer, result.constData(), size_t(size - 1));
    answer[size - 1] = '\0';
}
