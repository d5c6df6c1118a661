#include "console/PythonScriptConsoleImpl.h"

#include "console/PythonScriptConsoleEvents.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "console/PythonScriptConsoleTracebackLinks.h"

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
