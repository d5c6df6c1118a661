#include "console/PythonScriptConsoleImpl.h"

#include "console/PythonScriptConsoleEvents.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "console/PythonScriptConsoleTracebackLinks.h"
#include "console/PythonScriptDebugServer.h"

#include <PLUG_Services.h>
#include <SCP_PythonManager.h>
#include <SC_SessionContext.h>

#include <QLayout>

PythonScriptConsoleImpl::PythonScriptConsoleImpl(QWidget* parentWidget, QLayout* layout, const PythonQtObjectPtr& context)
    : QObject(nullptr)
{
    this->context.setObject(context.object());
    editor = new PythonScriptConsoleTextEdit(parentWidget, this->context);
    layout->addWidget(editor);
    PythonScriptConsoleEvents* events = PythonScriptConsoleEvents::instance();
    connect(new PythonScriptConsoleTracebackLinks(editor), &PythonScriptConsoleTracebackLinks::activated, events,
            &PythonScriptConsoleEvents::fileLinkActivated);
    connect(editor, &PythonScriptConsoleTextEdit::codeExecuted, events, &PythonScriptConsoleEvents::codeExecuted);
    emit events->consoleCreated(editor);
    // Each console shows what becomes of the debug server, under its banner; the preference
    // starts it with the first console.
    PythonScriptDebugServer* debugServer = PythonScriptDebugServer::instance();
    connect(debugServer, &PythonScriptDebugServer::stateChanged, editor, &PythonScriptConsoleTextEdit::consoleMessage);
    QMetaObject::invokeMethod(editor, [debugServer, shown = editor] {
        if (debugServer->isListening())
            shown->consoleMessage(debugServer->state());
        else
            debugServer->startIfConfigured();
    }, Qt::QueuedConnection);

    SC_SessionContext* session = PLUG_Services::getSessionContext();
    SCP_PythonManager* manager = session ? session->pythonManager() : nullptr;
    if (!manager)
        return;
    editor->clear();
    const QString prompt = editor->toPlainText();
    editor->setPlainText(tr("Python Loaded: \n\n") + manager->loadMessages().join(QLatin1Char('\n'))
                         + QLatin1Char('\n') + prompt);
}

PythonScriptConsoleImpl::~PythonScriptConsoleImpl() = default;

void PythonScriptConsoleImpl::onSceneSave()
{
}
