// Loaded with private symbols: starts Python and imports extension modules that need
// libpython's symbols to be global.
#include "PythonQt.h"

#include <cstring>

extern "C" __attribute__((visibility("default"))) void pythonqtImportProbe(char* answer, int size)
{
    PythonQt::init(PythonQt::IgnoreSiteModule);
    QByteArray result;
    if (!PythonQt::self()->initSuccessfully()) {
        result = "failed " + PythonQt::self()->initError().toUtf8();
    } else {
        PythonQtObjectPtr main = PythonQt::self()->getMainModule();
        main.evalScript("import ctypes, decimal, _json, sqlite3\n"
                        "answer = '%s %s' % (decimal.Decimal('1.1') + 1, ctypes.sizeof(ctypes.c_int))\n");
        result = main.getVariable("answer").toString().toUtf8();
        main = nullptr;
        PythonQt::cleanup();
    }
    std::strncpy(answer, result.constData(), size_t(size - 1));
    answer[size - 1] = '\0';
}
