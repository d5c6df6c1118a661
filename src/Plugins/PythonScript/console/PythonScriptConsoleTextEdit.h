#pragma once

#include "console/PythonScriptConsoleRankedCandidates.h"
#include "console/PythonScriptConsolePythonOutput.h"

#include <PythonQtScriptingConsole.h>

#include <QRegularExpression>
#include <QTimer>

// The console's editor: the prompt and the protected output above it, the console's keys
// (scene undo and redo among them), copy without prompts, paste replayed line by line, output
// colours from the preferences, automatic indentation and completion ranked by the history.
class PythonScriptConsoleTextEdit : public PythonQtScriptingConsole
{
    Q_OBJECT
public:
    // Python's start symbols: one interactive statement, a sequence of statements.
    static constexpr int singleStatementMode = 256;
    static constexpr int statementSequenceMode = 257;
    // The editor takes the focus this long after it was made, once its view is in place.
    static constexpr int focusDelayMs = 50;
    // The completion popup stands this far below the word it completes.
    static constexpr int popupOffsetPx = 8;
    // The completion popup lists at most this many names, the best-ranked: listing a whole
    // library's names would cost every key more than a frame, and no one scrolls that far.
    static constexpr int completionLimit = 1000;

    PythonScriptConsoleTextEdit(QWidget* parent, const PythonQtObjectPtr& context);
    ~PythonScriptConsoleTextEdit() override;

    void insertCompletion(const QString& completion) override;
    void pushOutputRedirect() override;
    void popOutputRedirect() override;
    bool needsMoreInput(const QString& line, const QString& code, bool more) override;
    void didExecuteLine(const QString& line, const QString& code, bool continued) override;
    int willExecuteCode(const QString& code) override;
    void didExecuteCode(const QString& code) override;
    void handleTabCompletion() override;
    bool outputColor(QColor& color) override;
    bool errorColor(QColor& color) override;
    bool commandColor(QColor& color) override;

    // The indentation that the line after line starts with; empty ends the block.
    virtual QString autoIndentFor(const QString& line, const QString& code, bool more);
    // Replaces the text after the prompt.
    virtual void replaceCommandLine(const QString& text);
    // Runs code as if the user had pasted it at an empty prompt, its last line ended.
    void runCommand(const QString& code);
    // True while the names of the word being typed wait to be looked up, or the popup to open:
    // the key that starts a word shows its text at once, and the popup follows once the events
    // queued behind the key are handled (keys typed meanwhile need one lookup, for the word as
    // it then stands).
    bool completionPending() const;

signals:
    void codeExecuted();

public slots:
    // Keeps the cursor out of the protected output.
    void onCursorPositionChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // True when the key was taken care of; false when the text edit's handling follows.
    bool handleEditorKey(QKeyEvent* event);
    void guardCursor();
    void continueCompletion();
    void offerRankedCompletions();

    int compileMode = singleStatementMode;
    bool autoIndentActive = true;
    QString pendingIndent;
    QRegularExpression leadingBlanks;
    PythonScriptConsolePythonOutput output;
    bool mouseButtonDown = false;
    bool blankLineSeen = false;
    PythonScriptConsoleRankedCandidates ranked;
    QTimer lookupTimer;
};
