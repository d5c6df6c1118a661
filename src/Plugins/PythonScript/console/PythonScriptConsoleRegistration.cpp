#include "console/PythonScriptConsoleRegistration.h"

#include "console/PythonScriptConsoleResources.h"
#include "console/PythonScriptConsoleView.h"
#include "console/PythonScriptConsoleViewResponder.h"

#include <AC_Manager.h>
#include <LXLayoutManager.h>
#include <PLUG_Services.h>
#include <WID_IconManager.h>

#include <QCoreApplication>

namespace {
// Constructed while the library loads, with the action manager the host offers then. It lives
// beside the registration so that the linker keeps it in the plug-in.
PythonScriptConsoleViewResponder responder;
}

void registerConsoleView()
{
    AC_Manager* actions = PLUG_Services::getActionManager();
    LXLayoutManager* layout = PLUG_Services::getLayoutManager();
    if (actions && layout) {
        auto* prototype = new PythonScriptConsoleView(actions, nullptr, nullptr, {});
        const QString title = QCoreApplication::translate("Bellwick_SceneUI", "Python Script Console");
        layout->addPluginArea(QStringLiteral("Python Script Console"), title, prototype, true, false, false, QSize(),
                              false, false, false);
    }
    const QString resources = PythonScriptConsoleResources::folder();
    if (PLUG_Services::getActionManager())
        PLUG_Services::getActionManager()->addResourceFolder(resources);
    WID_IconManager::instance()->addSearchDirectory(resources);
}

void unregisterConsoleView()
{
}
