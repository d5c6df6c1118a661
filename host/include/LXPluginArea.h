#pragma once

#include "BellwickHostExport.h"

#include <QSize>
#include <QString>

class LXLayoutView;

// An area a plug-in adds to the layout, with the options it asked for.
struct BELLWICK_HOST_EXPORT LXPluginArea
{
    QString areaId;
    QString title;
    LXLayoutView* prototype = nullptr; // owned by the layout manager
    bool listedInWindowMenu = true;
    bool startFloating = false;
    bool startHidden = false;
    QSize preferredSize;
    bool singleView = false;
    bool hideTitleBar = false;
    bool keepOnTop = false;
};
