#include "plugin/PythonStartup.h"

#include "plugin/BellwickModule.h"
#include "plugin/PythonSiteDirectories.h"

#include <PythonQt.h>
#include <SCP_PythonFinder.h>

#include <QCoreApplication>

namespace {

void log(const char* text)
{
    SCP_PythonFinder::logPythonInit(QCoreApplication::translate("PythonScript", text));
}

void logFailure()
{
    log(QT_TRANSLATE_NOOP("PythonScript", "\nFailed to initialize Python."));
    if (PythonQt::self())
        SCP_PythonFinder::logPythonInit(PythonQt::self()->initError());
    log(QT_TRANSLATE_NOOP("PythonScript", "\nPotential mismatch in PYTHONPATH path and PYTHON_LIB_PATH"));
    log(QT_TRANSLATE_NOOP("PythonScript",
                          "    PYTHON_LIB_PATH preference defines a custom location from which Bellwick will load "
                          "Python and its linked libraries."));
    log(QT_TRANSLATE_NOOP("PythonScript",
                          "    PYTHONPATH preference defines the location from which Python load its libraries."));
}

} // namespace

bool PythonStartup::start()
{
    PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule, QByteArray());
    if (PythonQt::self() && PythonQt::self()->initSuccessfully()) {
        PythonSiteDirectories().apply();
        BellwickModule::install();
        return true;
    }
    logFailure();
    return false;
}

void PythonStartup::finish()
{
    PythonQt::self()->startThreads();
    log(QT_TRANSLATE_NOOP("PythonScript", "Python script plugin initialized.\n"));
}
