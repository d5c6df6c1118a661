#include "editor/ScriptViewsRegistration.h"

#include "editor/ScriptEditorView.h"
#include "editor/ScriptsView.h"

#include <LXLayoutManager.h>
#include <PLUG_Services.h>

#include <QCoreApplication>

void registerScriptViews()
{
    AC_Manager* actions = PLUG_Services::getActionManager();
    LXLayoutManager* layout = PLUG_Services::getLayoutManager();
    if (!actions || !layout)
        return;
    layout->addPluginArea(ScriptsView::areaId, QCoreApplication::translate("Bellwick_SceneUI", "Python Scripts"),
                          new ScriptsView(actions, nullptr, nullptr, {}), true, false, false, QSize(), false, false, false);
    layout->addPluginArea(ScriptEditorView::areaId, QCoreApplication::translate("Bellwick_SceneUI", "Python Script Editor"),
                          new ScriptEditorView(actions, nullptr, nullptr, {}), true, false, false, QSize(), false, false,
                          false);
}
