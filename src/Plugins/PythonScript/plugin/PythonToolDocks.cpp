#include "plugin/PythonToolDocks.h"

#include "plugin/PythonToolView.h"

#include <LXLayoutManager.h>
#include <PLUG_Services.h>

#include <QCoreApplication>

QWidget* PythonToolDocks::view(const QString& title, QString* error)
{
    LXLayoutManager* layout = PLUG_Services::getLayoutManager();
    const QString areaId = QStringLiteral("PythonTool:") + title;
    if (layout && !layout->view(areaId))
        layout->addPluginArea(areaId, title, new PythonToolView(areaId, nullptr), true, false, false, QSize(), true,
                              false, false);
    LXLayoutView* view = layout ? layout->view(areaId) : nullptr;
    if (!view)
        *error = QCoreApplication::translate("PythonScript", "The host shows no main window to dock \"%1\" in (run bellwick with --window).").arg(title);
    return view ? view->widget() : nullptr;
}
