#include "console/PythonScriptConsoleViewResponder.h"

#include "console/PythonScriptDebugServer.h"

#include <PLUG_Services.h>

PythonScriptConsoleViewResponder::PythonScriptConsoleViewResponder()
    : AC_ResponderTemplateObject<QObject>(nullptr, QStringLiteral("PythonScriptConsoleViewResponder"))
{
    initActionManager(PLUG_Services::getActionManager());
}

AC_Responder* PythonScriptConsoleViewResponder::parentResponder()
{
    return nullptr;
}


void PythonScriptConsoleViewResponder::startDebugServer()
{
    PythonScriptDebugServer::instance()->startForUser();
}
