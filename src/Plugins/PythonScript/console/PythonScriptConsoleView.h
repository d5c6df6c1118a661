#pragma once

#include <LXWidgetLayoutView.h>

class PythonScriptConsoleImpl;

// The "Python Script Console" layout view. The prototype (built without a parent) is an empty
// shell; the working views the layout makes hold the console.
class PythonScriptConsoleView : public LXWidgetLayoutView
{
public:
    PythonScriptConsoleView(AC_Manager* actionManager, QWidget* parent, const char* menuIdentity,
                            Qt::WindowFlags flags);
    ~PythonScriptConsoleView() override;

    LXLayoutView* createView(QWidget* parent) override;
    bool wantsToolbar() const override;
    QDomElement toolbarDefinition() const override;
    QSize sizeHint() const override;

    PythonScriptConsoleImpl* consoleImpl() const { return console; }

private:
    void buildConsole();
    void showPythonUnavailable();

    PythonScriptConsoleImpl* console = nullptr;
};
