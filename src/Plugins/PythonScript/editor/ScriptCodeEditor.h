#pragma once

#include "editor/PythonColorScheme.h"

#include <QPlainTextEdit>

class ScriptLineNumberArea;

// The text of one Python file: line numbers, the current line and matching brackets shown,
// Tab and Shift+Tab indenting and dedenting the selected lines, Return keeping the indentation
// (one level more after a colon). F5 and Ctrl+Return ask to run the file or the selection.
class ScriptCodeEditor : public QPlainTextEdit
{
    Q_OBJECT
public:
    static const QString indentUnit;

    explicit ScriptCodeEditor(QWidget* parent = nullptr);

    // The file shown, empty for a new one, and its bytes as last read or written: a change on
    // disk that leaves them as they are is the editor's own save.
    QString filePath;
    QByteArray diskContent;

    int lineNumberAreaWidth() const;
    void paintLineNumbers(QPaintEvent* event);

    // Line counts from 1; the cursor goes to the line's first non-blank character.
    void goToLine(int line);
    int currentLine() const;
    void indentSelection();
    void dedentSelection();
    // Comments the selected lines out, or back in when all of them are comments.
    void toggleComment();
    // The selection, or the current line without one, as Python to run (common indentation
    // removed).
    QString codeToRun() const;

signals:
    void runFileRequested();
    void runCodeRequested(const QString& code);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateLineNumberArea(const QRect& rect, int dy);
    void updateExtraSelections();
    void insertLineBreakWithIndent();
    // The cursor's selection widened to whole lines.
    QTextCursor selectedLines() const;
    QTextEdit::ExtraSelection bracketSelection(int position) const;
    int matchingBracket(int position) const;

    PythonColorScheme scheme;
    ScriptLineNumberArea* lineNumbers;
};
