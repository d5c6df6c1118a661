#pragma once

#include <AC_ResponderTemplateObject.h>

#include <QObject>

// The console's action responder, one per loaded library; it ends every responder chain.
class PythonScriptConsoleViewResponder : public AC_ResponderTemplateObject<QObject>
{
    Q_OBJECT
    Q_INTERFACES(AC_Responder)
public:
    PythonScriptConsoleViewResponder();

    AC_Responder* parentResponder() override;

public slots:
    // The menu's "Start Debug Server".
    void startDebugServer();
};
