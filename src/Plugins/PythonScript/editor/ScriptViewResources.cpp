#include "editor/ScriptViewResources.h"

#include "console/PythonScriptConsoleResources.h"

#include <AC_Manager.h>
#include <AC_Menu.h>
#include <LXWidgetLayoutView.h>
#include <PLUG_Services.h>

void ScriptViewResources::installMenu(LXWidgetLayoutView* view, const QString& fileName)
{
    AC_Manager* actions = PLUG_Services::getActionManager();
    QDomDocument document;
    if (actions && PythonScriptConsoleResources::loadResourceDocument(fileName, document))
        view->setMenu(actions->createMenu(document.documentElement(), nullptr, nullptr), 0);
}

QDomElement ScriptViewResources::toolbarElement(const QString& fileName)
{
    QDomDocument document;
    if (!PythonScriptConsoleResources::loadResourceDocument(fileName, document))
        return QDomElement();
    return document.documentElement().firstChildElement();
}
