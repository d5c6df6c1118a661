#include "editor/ScriptCodeEditor.h"

#include "editor/PythonSyntaxHighlighter.h"
#include "editor/ScriptLineNumberArea.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>

const QString ScriptCodeEditor::indentUnit = QStringLiteral("    ");

namespace {

const QString openers = QStringLiteral("([{");
const QString closers = QStringLiteral(")]}");

QString leadingBlanks(const QString& line)
{
    int end = 0;
    while (end < line.size() && (line.at(end) == QLatin1Char(' ') || line.at(end) == QLatin1Char('\t')))
        ++end;
    return line.left(end);
}

bool isRunKey(const QKeyEvent* key)
{
    const bool ctrlReturn = key->modifiers().testFlag(Qt::ControlModifier)
        && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    return key->key() == Qt::Key_F5 || ctrlReturn;
}

} // namespace

ScriptCodeEditor::ScriptCodeEditor(QWidget* parent)
    : QPlainTextEdit(parent), scheme(PythonColorScheme::current()), lineNumbers(new ScriptLineNumberArea(this))
{
    QFont font(QStringLiteral("monospace"));
    font.setStyleHint(QFont::Monospace);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(fontMetrics().horizontalAdvance(indentUnit));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, scheme.background);
    colours.setColor(QPalette::Text, scheme.text);
    setPalette(colours);
    new PythonSyntaxHighlighter(document(), scheme);

    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(lineNumberAreaWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &ScriptCodeEditor::updateLineNumberArea);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &ScriptCodeEditor::updateExtraSelections);
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
    updateExtraSelections();
}

// --- line numbers -------------------------------------------------------------------------------

int ScriptCodeEditor::lineNumberAreaWidth() const
{
    const int digits = int(QString::number(qMax(1, blockCount())).size());
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * qMax(3, digits);
}

void ScriptCodeEditor::updateLineNumberArea(const QRect& rect, int dy)
{
    if (dy)
        lineNumbers->scroll(0, dy);
    else
        lineNumbers->update(0, rect.y(), lineNumbers->width(), rect.height());
}

void ScriptCodeEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    lineNumbers->setGeometry(area.left(), area.top(), lineNumberAreaWidth(), area.height());
}

void ScriptCodeEditor::paintLineNumbers(QPaintEvent* event)
{
    QPainter painter(lineNumbers);
    painter.fillRect(event->rect(), scheme.background);
    painter.setPen(scheme.lineNumbers);
    // Only the visible blocks are walked, so big files paint as fast as small ones.
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int width = lineNumbers->width() - 4;
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top())
            painter.drawText(0, top, width, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        top += height;
        block = block.next();
    }
}

// --- current line and brackets ------------------------------------------------------------------

int ScriptCodeEditor::matchingBracket(int position) const
{
    const QChar c = document()->characterAt(position);
    const int open = int(openers.indexOf(c));
    const int close = int(closers.indexOf(c));
    if (open < 0 && close < 0)
        return -1;
    const QChar same = c;
    const QChar other = open >= 0 ? closers.at(open) : openers.at(close);
    const int step = open >= 0 ? 1 : -1;
    // Brackets rarely span far; the walk is bounded so that a stray one in a huge file stays cheap.
    const int limit = 20000;
    int depth = 0;
    for (int p = position, walked = 0; p >= 0 && p < document()->characterCount() && walked < limit; p += step, ++walked) {
        const QChar here = document()->characterAt(p);
        if (here == same)
            ++depth;
        else if (here == other && --depth == 0)
            return p;
    }
    return -1;
}

QTextEdit::ExtraSelection ScriptCodeEditor::bracketSelection(int position) const
{
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(scheme.matchingBracket);
    selection.cursor = QTextCursor(document());
    selection.cursor.setPosition(position);
    selection.cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return selection;
}

void ScriptCodeEditor::updateExtraSelections()
{
    QList<QTextEdit::ExtraSelection> selections;
    QTextEdit::ExtraSelection line;
    line.format.setBackground(scheme.currentLine);
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    selections.append(line);

    const int position = textCursor().position();
    // The bracket after the cursor, else the one before it.
    for (int candidate : {position, position - 1}) {
        const int match = candidate >= 0 ? matchingBracket(candidate) : -1;
        if (match >= 0) {
            selections << bracketSelection(candidate) << bracketSelection(match);
            break;
        }
    }
    setExtraSelections(selections);
}

// --- keys -----------------------------------------------------------------------------------------

bool ScriptCodeEditor::event(QEvent* event)
{
    // The run keys belong to the editor even where a window-wide shortcut claims them.
    if (event->type() == QEvent::ShortcutOverride && isRunKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void ScriptCodeEditor::keyPressEvent(QKeyEvent* event)
{
    if (isRunKey(event)) {
        if (event->key() == Qt::Key_F5)
            emit runFileRequested();
        else
            emit runCodeRequested(codeToRun());
        return;
    }
    switch (event->key()) {
    case Qt::Key_Tab:
        if (textCursor().hasSelection()) {
            indentSelection();
            return;
        }
        insertPlainText(indentUnit);
        return;
    case Qt::Key_Backtab:
        dedentSelection();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            insertLineBreakWithIndent();
            return;
        }
        break;
    case Qt::Key_Slash:
        if (event->modifiers() == Qt::ControlModifier) {
            toggleComment();
            return;
        }
        break;
    default:
        break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ScriptCodeEditor::insertLineBreakWithIndent()
{
    QTextCursor cursor = textCursor();
    const QString before = cursor.block().text().left(cursor.positionInBlock());
    QString indent = leadingBlanks(before);
    if (before.trimmed().endsWith(QLatin1Char(':')))
        indent += indentUnit;
    cursor.insertText(QLatin1Char('\n') + indent);
    setTextCursor(cursor);
}

// --- block edits ----------------------------------------------------------------------------------

QTextCursor ScriptCodeEditor::selectedLines() const
{
    const QTextCursor cursor = textCursor();
    QTextCursor lines(document());
    lines.setPosition(cursor.selectionStart());
    lines.movePosition(QTextCursor::StartOfBlock);
    QTextCursor end(document());
    end.setPosition(cursor.selectionEnd());
    // A selection ending at the start of a line does not take that line.
    if (cursor.hasSelection() && end.atBlockStart() && end.position() > lines.position())
        end.movePosition(QTextCursor::PreviousCharacter);
    end.movePosition(QTextCursor::EndOfBlock);
    lines.setPosition(end.position(), QTextCursor::KeepAnchor);
    return lines;
}

namespace {

// Applies edit to each line of the selection as one undo step and selects the lines.
template <typename Edit>
void editLines(QPlainTextEdit* editor, QTextCursor lines, Edit edit)
{
    const int first = editor->document()->findBlock(lines.selectionStart()).blockNumber();
    const int last = editor->document()->findBlock(lines.selectionEnd()).blockNumber();
    QTextCursor cursor(editor->document());
    cursor.beginEditBlock();
    for (int number = first; number <= last; ++number) {
        const QTextBlock block = editor->document()->findBlockByNumber(number);
        cursor.setPosition(block.position());
        edit(cursor, block.text());
    }
    cursor.endEditBlock();
    QTextCursor selection(editor->document()->findBlockByNumber(first));
    selection.setPosition(editor->document()->findBlockByNumber(last).position(), QTextCursor::KeepAnchor);
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editor->setTextCursor(selection);
}

} // namespace

void ScriptCodeEditor::indentSelection()
{
    editLines(this, selectedLines(), [](QTextCursor& cursor, const QString&) { cursor.insertText(indentUnit); });
}

void ScriptCodeEditor::dedentSelection()
{
    editLines(this, selectedLines(), [](QTextCursor& cursor, const QString& text) {
        const int blanks = int(qMin(leadingBlanks(text).size(), indentUnit.size()));
        cursor.setPosition(cursor.position() + blanks, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    });
}

void ScriptCodeEditor::toggleComment()
{
    const QTextCursor lines = selectedLines();
    const QStringList texts = lines.selectedText().split(QChar::ParagraphSeparator);
    const bool allComments = std::all_of(texts.cbegin(), texts.cend(), [](const QString& line) {
        return line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#'));
    });
    editLines(this, lines, [allComments](QTextCursor& cursor, const QString& text) {
        const int indent = int(leadingBlanks(text).size());
        if (text.trimmed().isEmpty())
            return;
        cursor.setPosition(cursor.position() + indent);
        if (!allComments) {
            cursor.insertText(QStringLiteral("# "));
            return;
        }
        const int length = text.mid(indent).startsWith(QLatin1String("# ")) ? 2 : 1;
        cursor.setPosition(cursor.position() + length, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    });
}

// --- positions and code ---------------------------------------------------------------------------

void ScriptCodeEditor::goToLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(qBound(1, line, blockCount()) - 1);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + int(leadingBlanks(block.text()).size()));
    setTextCursor(cursor);
    centerCursor();
    setFocus(Qt::OtherFocusReason);
}

int ScriptCodeEditor::currentLine() const
{
    return textCursor().blockNumber() + 1;
}

QString ScriptCodeEditor::codeToRun() const
{
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection() && !cursor.selectedText().contains(QChar::ParagraphSeparator))
        return cursor.selectedText().trimmed();
    const QStringList lines = cursor.hasSelection()
        ? selectedLines().selectedText().split(QChar::ParagraphSeparator)
        : QStringList{cursor.block().text()};
    int common = -1;
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty())
            common = common < 0 ? int(leadingBlanks(line).size()) : qMin(common, int(leadingBlanks(line).size()));
    }
    QStringList code;
    for (const QString& line : lines)
        code << line.mid(qMax(0, common));
    return code.join(QLatin1Char('\n'));
}
