#include "plugin/ScriptViewsWiring.h"

#include "console/PythonScriptConsoleEvents.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "console/PythonScriptConsoleTracebackLinks.h"
#include "editor/ConsoleCommandHighlighter.h"
#include "editor/ScriptEditorView.h"
#include "editor/ScriptViewsRegistration.h"
#include "editor/ScriptsView.h"
#include "plugin/ConsoleScriptPort.h"

#include <LXLayoutManager.h>
#include <PLUG_Services.h>

#include <QDockWidget>
#include <QTextEdit>
#include <QTimer>

namespace {

void openLink(const QString& filePath, int line)
{
    ScriptEditorView* editor = ScriptEditorView::inLayout();
    if (!editor || !editor->openFile(filePath, line))
        return;
    if (QDockWidget* dock = PLUG_Services::getLayoutManager()->dock(ScriptEditorView::areaId)) {
        dock->show();
        dock->raise();
    }
}

void refreshScripts()
{
    // After the run's own bookkeeping, and once for a burst of runs.
    static bool pending = false;
    if (pending)
        return;
    pending = true;
    QTimer::singleShot(0, [] {
        pending = false;
        if (ScriptsView* scripts = ScriptsView::inLayout())
            scripts->refresh();
    });
}

void highlightCommands(QTextEdit* console)
{
    new ConsoleCommandHighlighter(console->document(),
                                  {PythonScriptConsoleTextEdit::primaryPrompt, PythonScriptConsoleTextEdit::continuationPrompt},
                                  PythonScriptConsoleTracebackLinks::pattern());
}

} // namespace

void wireScriptViews()
{
    static ConsoleScriptPort port;
    ScriptConsolePort::install(&port);
    registerScriptViews();
    // Polish may come more than once in a process; the connections are made once.
    static bool connected = false;
    if (connected)
        return;
    connected = true;
    PythonScriptConsoleEvents* events = PythonScriptConsoleEvents::instance();
    QObject::connect(events, &PythonScriptConsoleEvents::fileLinkActivated, events, &openLink);
    QObject::connect(events, &PythonScriptConsoleEvents::codeExecuted, events, &refreshScripts);
    QObject::connect(events, &PythonScriptConsoleEvents::consoleCreated, events, &highlightCommands);
}
