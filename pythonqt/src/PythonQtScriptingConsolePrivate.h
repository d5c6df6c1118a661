#pragma once

#include "PythonQtConsoleCandidates.h"
#include "PythonQtConsoleEntryWidths.h"
#include "PythonQtConsoleOutput.h"
#include "PythonQtConsoleRun.h"
#include "PythonQtObjectPtr.h"
#include "PythonQtPython.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QRect>
#include <QStringList>
#include <QTimer>

class QCompleter;
class QKeyEvent;
class QStringListModel;

// The console's state behind its virtual operations.
class PythonQtScriptingConsolePrivate
{
public:
    explicit PythonQtScriptingConsolePrivate(PythonQtScriptingConsole* console, const PythonQtObjectPtr& context);

    // Compiles code with start and runs it in context; the traceback goes to stdErr.
    void run(const QString& code, int start);
    // Whether code is a complete statement (or one that cannot compile: it runs and reports).
    bool isComplete(const QString& code);
    // Whether the gathered code cannot compile, whatever lines would follow.
    bool cannotGoOn();
    static constexpr int checkedLinesLimit = 100;
    // The gathered code, taken: a new block starts.
    QString takeGatheredCode();
    QString commandText() const;
    // The dotted name before the cursor ("os.pa") and the document position where its last part
    // starts; false when there is no name to complete.
    bool nameBeforeCursor(QString& name, int& partStart);
    // True when key was taken care of because the text edit would change text before the prompt.
    bool keepsKeyOffProtectedText(QKeyEvent* key);
    void replaceCommandText(const QString& text);
    // The console's handleCommandLineKey() and prepareTyping().
    bool handleCommandLineKey(QKeyEvent* key);
    bool prepareTyping();

    PythonQtScriptingConsole* q;
    PythonQtObjectPtr context;
    QStringList history;
    int historyPosition = 0;
    QString prehistory;
    QString prompt;
    QString gatheredCode;
    bool gatheredHeldStatement = false;
    bool hadError = false;
    int startSymbol = Py_single_input;
    PyCompilerFlags compilerFlags;
    QCompleter* completer = nullptr;
    QStringListModel* completions = nullptr;
    PythonQtConsoleCandidates candidates;
    // What the popup shows next: a hidden popup opens once the event loop turns.
    QStringList pendingNames;
    QString pendingPrefix;
    QRect pendingRect;
    QTimer popupTimer;
    int popupWidth = -1; // -1: to be measured
    PythonQtConsoleEntryWidths entryWidths;
    QMetaObject::Connection stdOutConnection;
    QMetaObject::Connection stdErrConnection;
    PythonQtConsoleOutput output;
    PythonQtConsoleRun runState;
    QElapsedTimer paintClock;

private:
    enum Completeness { Incomplete, Complete, Invalid };
    static Completeness completeness(const QString& code, const char* symbol);
    void swapInStdin(PythonQtObjectPtr& saved);
    void restoreStdin(const PythonQtObjectPtr& saved);
    PythonQtObjectPtr consoleStdin;
};
