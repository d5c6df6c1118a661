#include "plugin/ConsoleScriptPort.h"

#include "console/PythonScriptConsoleImpl.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "console/PythonScriptConsoleView.h"

#include <LXLayoutManager.h>
#include <PLUG_Services.h>

#include <QDockWidget>

namespace {
const QString consoleAreaId = QStringLiteral("Python Script Console");
}

bool ConsoleScriptPort::runCommand(const QString& code)
{
    LXLayoutManager* layout = PLUG_Services::getLayoutManager();
    auto* view = layout ? dynamic_cast<PythonScriptConsoleView*>(layout->view(consoleAreaId)) : nullptr;
    PythonScriptConsoleTextEdit* console = view && view->consoleImpl() ? view->consoleImpl()->consoleEditor() : nullptr;
    // One run at a time, as at the prompt.
    if (!console || console->isExecuting())
        return false;
    if (QDockWidget* dock = layout->dock(consoleAreaId)) {
        dock->show();
        dock->raise();
    }
    console->runCommand(code);
    return true;
}
