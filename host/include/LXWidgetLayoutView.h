#pragma once

#include "AC_ResponderTemplateWidget.h"
#include "LXLayoutView.h"

class AC_Manager;

// A layout view that is a widget and an action responder. Its responder identity is its menu
// identity, or its view name when it has none; it registers with actionManager.
class BELLWICK_HOST_EXPORT LXWidgetLayoutView : public AC_ResponderTemplateWidget<QWidget>, public LXLayoutView
{
public:
    LXWidgetLayoutView(AC_Manager* actionManager, const QString& viewName, QWidget* parent,
                       const char* menuIdentity, Qt::WindowFlags flags = {});
    ~LXWidgetLayoutView() override;

    QWidget* widget() override { return this; }
    // Also makes this widget the menu's Qt parent.
    void setMenu(AC_Menu* menu, int menuType) override;
};
