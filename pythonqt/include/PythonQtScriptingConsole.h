#pragma once

#include "PythonQtExport.h"
#include "PythonQtObjectPtr.h"

#include <QColor>
#include <QStringList>
#include <QTextEdit>

class QCompleter;
class PythonQtScriptingConsolePrivate;

// An interactive Python console: a prompt after the output, a history of submitted lines, and
// code run in context on the widget's thread. Subclasses change its behaviour through the
// virtual operations below (declared in the order subclasses rely on).
//
// While console code runs, the window keeps painting and showing output, Ctrl+C or interrupt()
// raises KeyboardInterrupt in the code, input() and sys.stdin read a line typed into the
// console, and other user input to the application is held back.
class PYTHONQT_EXPORT PythonQtScriptingConsole : public QTextEdit
{
    Q_OBJECT
public:
    static const QString primaryPrompt;
    static const QString continuationPrompt;

    PythonQtScriptingConsole(QWidget* parent, const PythonQtObjectPtr& context, Qt::WindowFlags flags = {});
    ~PythonQtScriptingConsole() override;

public slots:
    // Submits the command line. more is the caller's view of whether the block may go on
    // (Return: true, Shift+Return: false); needsMoreInput() decides.
    virtual void executeLine(bool more);
    // A line of the console's own in the output (not Python's).
    virtual void consoleMessage(const QString& message);
    virtual QStringList history();
    virtual void setHistory(const QStringList& history);
    // Empties the document and shows a fresh prompt.
    virtual void clear();
    // Removes the selection where it may be removed, putting it on the clipboard.
    virtual void cut();
    virtual void stdOut(const QString& text);
    virtual void stdErr(const QString& text);
    virtual void insertCompletion(const QString& completion);
    virtual void appendCommandPrompt(bool continuation = false);

public:
    virtual bool hadError();
    virtual void clearError();

public slots:
    // Route the interpreter's output to stdOut/stdErr while code runs; by default the console
    // that ran last goes on showing later output (of threads its code started).
    virtual void pushOutputRedirect();
    virtual void popOutputRedirect();
    // Whether the line submitted with more starts or continues a block. more is already false
    // when the gathered code cannot compile, so that its error shows at once; by default, more
    // and the gathered code is not yet complete Python.
    virtual bool needsMoreInput(const QString& line, const QString& code, bool more);
    // After the next prompt was appended; continued tells whether it is a continuation prompt.
    virtual void didExecuteLine(const QString& line, const QString& code, bool continued);
    // Before code runs: the start symbol it is compiled with (256 Py_single_input, 257
    // Py_file_input).
    virtual int willExecuteCode(const QString& code);
    virtual void didExecuteCode(const QString& code);
    // Offers the names that complete the dotted name before the cursor.
    virtual void handleTabCompletion();

public:
    // The document position just after the last prompt.
    virtual int commandPromptPosition();
    // False for a selection wholly before the prompt; a selection crossing it is trimmed to
    // its editable part.
    virtual bool verifySelectionBeforeDeletion();
    // The format of text inserted next.
    virtual void setCurrentFont(const QColor& color = QColor(0, 0, 0), bool bold = false);
    // Shows the history entry at the current position on the command line.
    virtual void changeHistory();
    // Inserts output that is still pending.
    virtual void flushStdOut();
    virtual const QString& getCommandPrompt();
    virtual void setCommandPrompt(const QString& prompt);
    virtual QCompleter* getCompleter();
    // Positions run from 0 to the history's size (the line being typed).
    virtual int getHistoryPosition();
    // The new position, or the old one when it cannot move.
    virtual int nextHistoryPosition();
    virtual int prevHistoryPosition();
    virtual const QStringList& getHistory();
    // The line being typed, kept while the user walks the history.
    virtual void setPrehistory(const QString& text);
    // Colours of standard output, standard error and commands; false: the widget's default.
    virtual bool outputColor(QColor& color);
    virtual bool errorColor(QColor& color);
    virtual bool commandColor(QColor& color);

public slots:
    // Raises KeyboardInterrupt in the code the console runs; nothing when none runs.
    void interrupt();

public:
    // True while console code runs.
    bool isExecuting() const;
    // Output lines the document keeps (older ones are dropped); default 20,000.
    void setMaximumOutputLines(int lines);
    int maximumOutputLines() const;

protected:
    // Keys that the text edit turns into edits reaching before the prompt (a tab over a
    // selection, word and line deletions) are held to the command line here, whatever a
    // subclass's key handling does with them.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The keys with a meaning on the command line: Return and Enter submit it, Up and Down walk
    // the history, Home goes to the prompt, Left, Backspace and Delete stop at it. True when the
    // key was taken care of; false when the text edit's own handling is to follow. Backspace
    // and Delete over a selection are the caller's.
    bool handleCommandLineKey(QKeyEvent* event);
    // Before a key types text: false when the selection covers protected output (the key is
    // dropped); otherwise a cursor before the prompt is first moved to the prompt.
    bool prepareTyping();
    // Called between the steps of long work on the console's thread (a paste replayed line by
    // line): now and then the window paints; user input waits until the work is done.
    void letWindowPaint();
    // Opens the completion popup below rect, as wide as its entries.
    void showCompletionPopup(QRect rect);
    // The names that complete the dotted name before the cursor, each once in the order they
    // were found (handleTabCompletion() offers them sorted), and in prefix its last part; empty
    // when there is nothing to offer (no name, or one typed out in full). Names kept from one
    // key to the next share their strings.
    QStringList completionCandidates(QString& prefix);
    // Whether completionCandidates() would look the names up in Python (the first letter of a
    // word, or Backspace back into an earlier one): the costly step of completion.
    bool completionNeedsLookup();
    // Fills the popup with names, typed as far as prefix, below rect; hides it when names is
    // empty. A shown popup changes at once; a hidden one opens once the events queued behind
    // the key are handled.
    void offerCompletions(const QStringList& names, const QString& prefix, QRect rect);
    // Hides the popup and keeps a pending one from opening.
    void hideCompletionPopup();
    // True while the popup waits to open.
    bool completionPopupPending() const;
    // Text dragged out of the console is copied, never moved out of the output.
    void dropEvent(QDropEvent* event) override;
    // While code runs, pasted text answers input() or waits for the run's end, as typed keys do.
    void insertFromMimeData(const QMimeData* source) override;

private slots:
    void openPendingCompletions();
    virtual void onCodeExecuted(QString code);
    virtual void executeCode(const QString& code);

private:
    friend class PythonQtScriptingConsolePrivate;
    friend class PythonQtConsoleRun;
    PythonQtScriptingConsolePrivate* d;
};
