#pragma once

#include <LXWidgetLayoutView.h>

// The view of a dock that holds a tool window made in Python: an empty widget that the bellwick
// Python module fills. Its area id (the view name) names the dock, so the host keeps its place.
class PythonToolView : public LXWidgetLayoutView
{
public:
    PythonToolView(const QString& areaId, QWidget* parent);

    LXLayoutView* createView(QWidget* parent) override;
    bool wantsToolbar() const override { return false; }
};
