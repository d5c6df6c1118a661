#include "plugin/PythonToolView.h"

#include <PLUG_Services.h>

PythonToolView::PythonToolView(const QString& areaId, QWidget* parent)
    : LXWidgetLayoutView(PLUG_Services::getActionManager(), areaId, parent, nullptr)
{
}

LXLayoutView* PythonToolView::createView(QWidget* parent)
{
    return new PythonToolView(viewName(), parent);
}
