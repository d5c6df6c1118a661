#pragma once

#include <QMessageBox>

// Clicks a button of the next message box that comes up, as the user would: it waits for the
// box to be shown (by its own event loop) and then sends the mouse click to the button.
class DialogAnswer
{
public:
    static void next(QMessageBox::StandardButton button);
    // The text of the last box answered.
    static QString lastText();
};
