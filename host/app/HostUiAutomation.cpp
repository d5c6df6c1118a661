#include "HostUiAutomation.h"

#include "AC_Manager.h"
#include "AC_Responder.h"
#include "BUIAPP_Application.h"
#include "HostKeyInput.h"
#include "HostMouseInput.h"
#include "HostScriptCall.h"
#include "HostScriptTimers.h"
#include "HostTextEdit.h"
#include "LXLayoutManager.h"
#include "PLUG_Services.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QPixmap>
#include <QScriptEngine>
#include <QWidget>

namespace {

void collect(QWidget* widget, const QByteArray& className, QList<QWidget*>* found)
{
    if (widget->inherits(className.constData()))
        found->append(widget);
    for (QObject* child : widget->children()) {
        if (child->isWidgetType())
            collect(static_cast<QWidget*>(child), className, found);
    }
}

QList<QAction*> boundActions(const QObject* root)
{
    QList<QAction*> bound;
    for (QAction* action : root->findChildren<QAction*>()) {
        if (!AC_Manager::boundActionId(action).isEmpty())
            bound.append(action);
    }
    return bound;
}

QWidget* mainWidget()
{
    BUIAPP_Application* application = BUIAPP_Application::instance();
    return application ? application->mainWidget() : nullptr;
}

} // namespace

HostUiAutomation::HostUiAutomation(QObject* parent)
    : QObject(parent), m_functions(QStringLiteral("Host")), m_timers(new HostScriptTimers(this))
{
}

HostUiAutomation::~HostUiAutomation() = default;

int HostUiAutomation::failedCallbacks() const
{
    return m_timers->failedCallbacks();
}

void HostUiAutomation::install(QScriptValue& host)
{
    HostKeyInput::install(m_functions, host);
    HostMouseInput::install(m_functions, host);
    HostTextEdit::install(m_functions, host);
    m_timers->install(m_functions, host);
    installWindowFunctions(host);
}

QList<QWidget*> HostUiAutomation::widgets(const QString& className)
{
    QList<QWidget*> roots = QApplication::topLevelWidgets();
    if (QWidget* main = mainWidget(); main && roots.removeOne(main))
        roots.prepend(main);
    QList<QWidget*> found;
    const QByteArray name = className.toLatin1();
    // Windows with a parent (menus, floating docks) are reached through it.
    for (QWidget* root : std::as_const(roots)) {
        if (!root->parentWidget())
            collect(root, name, &found);
    }
    return found;
}

bool HostUiAutomation::grab(QWidget* widget, const QString& file)
{
    QWidget* source = widget ? widget : mainWidget();
    return source && !file.isEmpty() && source->grab().save(file, "PNG");
}

bool HostUiAutomation::triggerAction(const QString& responderIdentity, const QString& actionId)
{
    AC_Manager* manager = PLUG_Services::getActionManager();
    if (!manager)
        return false;
    for (QWidget* root : QApplication::topLevelWidgets()) {
        for (QAction* action : boundActions(root)) {
            AC_Responder* responder = manager->boundResponder(action);
            if (responder && responder->responderIdentity() == responderIdentity
                && AC_Manager::boundActionId(action) == actionId)
                return manager->performBound(action);
        }
    }
    return manager->trigger(responderIdentity, actionId);
}

bool HostUiAutomation::areaActions(const QString& areaId, QStringList* actionIds)
{
    LXLayoutManager* layout = PLUG_Services::getLayoutManager();
    const QDockWidget* dock = layout ? layout->dock(areaId) : nullptr;
    if (!dock)
        return false;
    actionIds->clear();
    for (const QAction* action : boundActions(dock)) {
        const QString id = AC_Manager::boundActionId(action);
        if (!actionIds->contains(id))
            actionIds->append(id);
    }
    return true;
}

void HostUiAutomation::installWindowFunctions(QScriptValue& host)
{
    m_functions.add(host, QStringLiteral("widgets"), [](HostScriptCall& call) {
        const QList<QWidget*> found = widgets(call.string(0));
        QScriptValue array = call.engine()->newArray(uint(found.size()));
        for (int i = 0; i < found.size(); ++i)
            array.setProperty(quint32(i), call.engine()->newQObject(found.at(i)));
        return array;
    });
    m_functions.add(host, QStringLiteral("clipboardText"), [](HostScriptCall&) {
        return QScriptValue(QGuiApplication::clipboard()->text());
    });
    m_functions.add(host, QStringLiteral("setClipboardText"), [](HostScriptCall& call) {
        QGuiApplication::clipboard()->setText(call.string(0));
        return QScriptValue();
    });
    m_functions.add(host, QStringLiteral("grab"), [](HostScriptCall& call) {
        QWidget* widget = call.optionalWidget(0);
        return call.failed() ? QScriptValue() : QScriptValue(grab(widget, call.string(1)));
    });
    m_functions.add(host, QStringLiteral("triggerAction"), [](HostScriptCall& call) {
        return QScriptValue(triggerAction(call.string(0), call.string(1)));
    });
    m_functions.add(host, QStringLiteral("actions"), [](HostScriptCall& call) {
        QStringList ids;
        if (!areaActions(call.string(0), &ids)) {
            call.fail(QStringLiteral("no dock for the area '%1'").arg(call.string(0)));
            return QScriptValue();
        }
        QScriptValue array = call.engine()->newArray(uint(ids.size()));
        for (int i = 0; i < ids.size(); ++i)
            array.setProperty(quint32(i), ids.at(i));
        return array;
    });
}
