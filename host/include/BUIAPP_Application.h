#pragma once

#include "BellwickHostExport.h"

class QWidget;

// The host's user-interface application: its main widget and look.
class BELLWICK_HOST_EXPORT BUIAPP_Application
{
public:
    // Null when the host runs without a user interface.
    static BUIAPP_Application* instance();
    static void setInstance(BUIAPP_Application* application);

    QWidget* mainWidget() const { return m_mainWidget; }
    void setMainWidget(QWidget* widget) { m_mainWidget = widget; }

    bool isDarkStyle() const { return m_darkStyle; }
    void setDarkStyle(bool dark) { m_darkStyle = dark; }

private:
    QWidget* m_mainWidget = nullptr;
    bool m_darkStyle = true;
};
