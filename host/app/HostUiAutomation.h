#pragma once

#include "HostNativeFunctions.h"

#include <QObject>
#include <QStringList>

class HostScriptTimers;
class QScriptValue;
class QWidget;

// UI automation for host scripts: finding widgets, input, text cursors, the clipboard, the event
// loop, actions and pictures. Bad arguments become script exceptions.
class HostUiAutomation : public QObject
{
    Q_OBJECT
public:
    explicit HostUiAutomation(QObject* parent = nullptr);
    ~HostUiAutomation() override;

    // Adds the automation functions to the script object host.
    void install(QScriptValue& host);
    // How many Host.after callbacks threw.
    int failedCallbacks() const;

    // The live widgets that are or inherit className, depth first from the top-level widgets,
    // the host's main widget first.
    static QList<QWidget*> widgets(const QString& className);
    // Writes a PNG of widget (the main widget when null); false when there is none or the file
    // cannot be written.
    static bool grab(QWidget* widget, const QString& file);
    // Performs actionId as the menu or toolbar item bound to it at that responder would; without
    // such an item, at the responder and along its chain.
    static bool triggerAction(const QString& responderIdentity, const QString& actionId);
    // The action ids of the menu and toolbar items of an area's dock; false for an unknown area.
    static bool areaActions(const QString& areaId, QStringList* actionIds);

private:
    void installWindowFunctions(QScriptValue& host);

    HostNativeFunctions m_functions;
    HostScriptTimers* m_timers;
};
