#pragma once

#include <QPalette>

// The look of bellwick's window: Fusion with a dark palette, or with Fusion's own light one.
class BellwickStyle
{
public:
    // For the whole application; call before the window is shown.
    static void apply(bool dark);
    static QPalette darkPalette();
};
