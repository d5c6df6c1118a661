#include "PythonQtScriptingConsole.h"

#include "PythonQt.h"
#include "PythonQtConsoleCompletion.h"
#include "PythonQtConsoleStdin.h"
#include "PythonQtKeyBindings.h"
#include "PythonQtScriptingConsolePrivate.h"
#include "PythonQtThreadSupport.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QCompleter>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QTimer>

const QString PythonQtScriptingConsole::primaryPrompt = QStringLiteral(">>> ");
const QString PythonQtScriptingConsole::continuationPrompt = QStringLiteral("... ");

namespace {

// Blank lines and comments: nothing to run, as at Python's own prompt.
bool hasNoStatement(const QString& code)
{
    for (const QString& line : code.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            return false;
    }
    return true;
}

} // namespace

PythonQtScriptingConsole::PythonQtScriptingConsole(QWidget* parent, const PythonQtObjectPtr& context, Qt::WindowFlags flags)
    : QTextEdit(parent),
      d(new PythonQtScriptingConsolePrivate(this, context))
{
    if (flags != Qt::WindowFlags())
        setWindowFlags(flags);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    // As in a terminal, lines wrap at any character and run left to right. Wrapping at word
    // boundaries lays out a long line without spaces (a row of progress dots) in quadratic time,
    // and the layout need not scan each new line for the direction of its first strong character.
    setWordWrapMode(QTextOption::WrapAnywhere);
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);
    d->prompt = primaryPrompt;
    d->completions = new QStringListModel(this);
    d->completer = new QCompleter(d->completions, this);
    d->completer->setWidget(this);
    d->completer->setCompletionMode(QCompleter::PopupCompletion);
    d->completer->setCaseSensitivity(Qt::CaseSensitive);
    // One line of text each: laying the list out measures one entry, not every one.
    if (auto* list = qobject_cast<QListView*>(d->completer->popup()))
        list->setUniformItemSizes(true);
    connect(d->completer, qOverload<const QString&>(&QCompleter::activated), this,
            &PythonQtScriptingConsole::insertCompletion);
    connect(d->completions, &QAbstractItemModel::modelReset, this, [this] { d->popupWidth = -1; });
    d->popupTimer.setSingleShot(true);
    d->popupTimer.setInterval(0);
    connect(&d->popupTimer, &QTimer::timeout, this, &PythonQtScriptingConsole::openPendingCompletions);
    if (PythonQt::self()) {
        PythonQtGILScope lock;
        PythonQtConsoleStdin::setUpInteractive(primaryPrompt.toUtf8().constData(), continuationPrompt.toUtf8().constData());
    }
    clear();
}

PythonQtScriptingConsole::~PythonQtScriptingConsole()
{
    delete d;
}

// --- execution ----------------------------------------------------------------------------------

void PythonQtScriptingConsole::executeLine(bool more)
{
    // One console run at a time in the process; a line submitted meanwhile stays where it is.
    if (PythonQtConsoleRun::anyActive())
        return;
    const QString line = d->commandText();
    if (!line.isEmpty() && (d->history.isEmpty() || d->history.last() != line))
        d->history.append(line);
    d->historyPosition = int(d->history.size());
    d->prehistory.clear();
    d->gatheredCode += line + QLatin1Char('\n');
    moveCursor(QTextCursor::End);

    // Code that cannot compile however it goes on ends the block, so its error shows at once.
    if (needsMoreInput(line, d->gatheredCode, more && !d->cannotGoOn())) {
        appendCommandPrompt(true);
        didExecuteLine(line, d->gatheredCode, true);
        return;
    }
    const QString code = d->takeGatheredCode();
    if (!hasNoStatement(code)) {
        d->hadError = false;
        d->output.setRunning(true);
        d->output.startNewLine();
        pushOutputRedirect();
        d->startSymbol = willExecuteCode(code);
        executeCode(code);
        didExecuteCode(code);
        popOutputRedirect();
        flushStdOut();
    }
    appendCommandPrompt(false);
    d->output.setRunning(false);
    didExecuteLine(line, code, false);
}

void PythonQtScriptingConsole::executeCode(const QString& code)
{
    d->runState.begin();
    d->run(code, d->startSymbol);
    d->runState.end();
    onCodeExecuted(code);
}

void PythonQtScriptingConsole::onCodeExecuted(QString)
{
    flushStdOut();
    ensureCursorVisible();
}

bool PythonQtScriptingConsole::needsMoreInput(const QString&, const QString& code, bool more)
{
    return more && !d->isComplete(code);
}

void PythonQtScriptingConsole::didExecuteLine(const QString&, const QString&, bool)
{
}

int PythonQtScriptingConsole::willExecuteCode(const QString&)
{
    return Py_single_input;
}

void PythonQtScriptingConsole::didExecuteCode(const QString&)
{
}

void PythonQtScriptingConsole::interrupt()
{
    d->runState.interrupt();
}

bool PythonQtScriptingConsole::isExecuting() const
{
    return d->runState.isActive();
}

bool PythonQtScriptingConsole::hadError()
{
    return d->hadError;
}

void PythonQtScriptingConsole::clearError()
{
    d->hadError = false;
}

// --- output -------------------------------------------------------------------------------------

void PythonQtScriptingConsole::pushOutputRedirect()
{
    // The console that ran last keeps showing output until another one runs, so that what
    // threads started by its code print later is not lost.
    static QPointer<PythonQtScriptingConsole> listening;
    PythonQt* pythonQt = PythonQt::self();
    if (!pythonQt || listening == this)
        return;
    if (listening) {
        disconnect(listening->d->stdOutConnection);
        disconnect(listening->d->stdErrConnection);
    }
    listening = this;
    d->stdOutConnection = connect(pythonQt, &PythonQt::pythonStdOut, this, &PythonQtScriptingConsole::stdOut);
    d->stdErrConnection = connect(pythonQt, &PythonQt::pythonStdErr, this, &PythonQtScriptingConsole::stdErr);
}

void PythonQtScriptingConsole::popOutputRedirect()
{
}

void PythonQtScriptingConsole::stdOut(const QString& text)
{
    d->output.append(PythonQtConsoleOutput::Out, text);
}

void PythonQtScriptingConsole::stdErr(const QString& text)
{
    d->output.append(PythonQtConsoleOutput::Err, text);
}

void PythonQtScriptingConsole::consoleMessage(const QString& message)
{
    d->output.append(PythonQtConsoleOutput::Message,
                     message.endsWith(QLatin1Char('\n')) ? message : message + QLatin1Char('\n'));
}

void PythonQtScriptingConsole::flushStdOut()
{
    d->output.flush();
}

void PythonQtScriptingConsole::setMaximumOutputLines(int lines)
{
    d->output.setMaximumLines(lines);
}

int PythonQtScriptingConsole::maximumOutputLines() const
{
    return d->output.maximumLines();
}

void PythonQtScriptingConsole::setCurrentFont(const QColor& color, bool bold)
{
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    setCurrentCharFormat(format);
}

bool PythonQtScriptingConsole::outputColor(QColor&)
{
    return false;
}

bool PythonQtScriptingConsole::errorColor(QColor&)
{
    return false;
}

bool PythonQtScriptingConsole::commandColor(QColor&)
{
    return false;
}

// --- prompt and command line --------------------------------------------------------------------

void PythonQtScriptingConsole::clear()
{
    d->takeGatheredCode();
    QTextEdit::clear();
    // While code runs its output goes on from an empty page; the prompt comes when it ends.
    if (!isExecuting())
        appendCommandPrompt(false);
}

void PythonQtScriptingConsole::appendCommandPrompt(bool continuation)
{
    QColor color;
    if (!commandColor(color))
        color = palette().color(QPalette::Text);
    setCurrentFont(color);
    setCommandPrompt(continuation ? continuationPrompt : primaryPrompt);
    QTextEdit::append(getCommandPrompt());
    moveCursor(QTextCursor::End);
}

const QString& PythonQtScriptingConsole::getCommandPrompt()
{
    return d->prompt;
}

void PythonQtScriptingConsole::setCommandPrompt(const QString& prompt)
{
    d->prompt = prompt;
}

int PythonQtScriptingConsole::commandPromptPosition()
{
    if (d->runState.isWaitingForInput())
        return d->runState.inputStart();
    const QTextBlock last = document()->lastBlock();
    if (isExecuting())
        return last.position() + last.length() - 1;
    return last.position() + (last.text().startsWith(d->prompt) ? int(d->prompt.size()) : 0);
}

bool PythonQtScriptingConsole::verifySelectionBeforeDeletion()
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return true;
    const int prompt = commandPromptPosition();
    if (cursor.selectionEnd() <= prompt)
        return false;
    if (cursor.selectionStart() < prompt) {
        const int end = cursor.selectionEnd();
        cursor.setPosition(prompt);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    return true;
}

void PythonQtScriptingConsole::cut()
{
    if (textCursor().hasSelection() && verifySelectionBeforeDeletion())
        QTextEdit::cut();
}

// --- history ------------------------------------------------------------------------------------

QStringList PythonQtScriptingConsole::history()
{
    return d->history;
}

void PythonQtScriptingConsole::setHistory(const QStringList& history)
{
    d->history = history;
    d->historyPosition = int(history.size());
}

const QStringList& PythonQtScriptingConsole::getHistory()
{
    return d->history;
}

int PythonQtScriptingConsole::getHistoryPosition()
{
    return d->historyPosition;
}

int PythonQtScriptingConsole::prevHistoryPosition()
{
    if (d->historyPosition <= 0)
        return d->historyPosition;
    if (d->historyPosition >= d->history.size())
        setPrehistory(d->commandText());
    return --d->historyPosition;
}

int PythonQtScriptingConsole::nextHistoryPosition()
{
    if (d->historyPosition < d->history.size())
        ++d->historyPosition;
    return d->historyPosition;
}

void PythonQtScriptingConsole::changeHistory()
{
    const bool inHistory = d->historyPosition >= 0 && d->historyPosition < d->history.size();
    d->replaceCommandText(inHistory ? d->history.at(d->historyPosition) : d->prehistory);
}

void PythonQtScriptingConsole::setPrehistory(const QString& text)
{
    d->prehistory = text;
}

// --- completion ---------------------------------------------------------------------------------

QCompleter* PythonQtScriptingConsole::getCompleter()
{
    return d->completer;
}

void PythonQtScriptingConsole::handleTabCompletion()
{
    QString prefix;
    QStringList found = completionCandidates(prefix);
    PythonQtConsoleCompletion::sortNames(found);
    offerCompletions(found, prefix, cursorRect());
}

QStringList PythonQtScriptingConsole::completionCandidates(QString& prefix)
{
    QString name;
    int partStart = 0;
    if (!d->nameBeforeCursor(name, partStart))
        return {};
    prefix = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
    const QStringList found = d->candidates.find(d->context, name, partStart);
    // A name typed out in full has nothing left to offer.
    if (found.size() == 1 && found.first() == prefix)
        return {};
    return found;
}

bool PythonQtScriptingConsole::completionNeedsLookup()
{
    QString name;
    int partStart = 0;
    return d->nameBeforeCursor(name, partStart) && d->candidates.needsLookup(name, partStart);
}

void PythonQtScriptingConsole::offerCompletions(const QStringList& names, const QString& prefix, QRect rect)
{
    if (names.isEmpty()) {
        hideCompletionPopup();
        return;
    }
    d->pendingNames = names;
    d->pendingPrefix = prefix;
    d->pendingRect = rect;
    // Opening the popup window costs more than the key: keys typed before the event loop turns
    // (the next one closing it again, say) do not open it each.
    if (d->completer->popup()->isVisible())
        openPendingCompletions();
    else
        d->popupTimer.start();
}

void PythonQtScriptingConsole::openPendingCompletions()
{
    d->popupTimer.stop();
    if (d->pendingNames != d->completions->stringList())
        d->completions->setStringList(d->pendingNames);
    d->completer->setCompletionPrefix(d->pendingPrefix);
    showCompletionPopup(d->pendingRect);
}

void PythonQtScriptingConsole::hideCompletionPopup()
{
    d->popupTimer.stop();
    d->completer->popup()->hide();
}

bool PythonQtScriptingConsole::completionPopupPending() const
{
    return d->popupTimer.isActive();
}

void PythonQtScriptingConsole::letWindowPaint()
{
    if (!d->paintClock.isValid() || d->paintClock.elapsed() >= PythonQtConsoleOutput::flushIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        d->paintClock.start();
    }
}

void PythonQtScriptingConsole::showCompletionPopup(QRect rect)
{
    QAbstractItemView* popup = d->completer->popup();
    // Measuring lays every entry out: done again only when the entries change, each name once.
    if (d->popupWidth < 0)
        d->popupWidth = d->entryWidths.widest(popup) + popup->verticalScrollBar()->sizeHint().width();
    rect.setWidth(d->popupWidth);
    d->completer->complete(rect);
}

void PythonQtScriptingConsole::insertCompletion(const QString& completion)
{
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, int(d->completer->completionPrefix().size()));
    cursor.insertText(completion);
    setTextCursor(cursor);
}

// --- keys ---------------------------------------------------------------------------------------

bool PythonQtScriptingConsole::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && d->keepsKeyOffProtectedText(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTextEdit::event(event);
}

void PythonQtScriptingConsole::dropEvent(QDropEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    QTextEdit::dropEvent(event);
}

void PythonQtScriptingConsole::insertFromMimeData(const QMimeData* source)
{
    if (!isExecuting())
        QTextEdit::insertFromMimeData(source);
    else if (source && source->hasText())
        d->runState.paste(source->text());
}

void PythonQtScriptingConsole::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (d->completer->popup()->isVisible()
        && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        event->ignore(); // the completer's own keys
        return;
    }
    if (PythonQtKeyBindings::matches(event, QKeySequence::Cut)) {
        cut();
        return;
    }
    QTextCursor cursor = textCursor();
    if (key == Qt::Key_Tab) {
        if (cursor.position() >= commandPromptPosition()) {
            cursor.setPosition(commandPromptPosition(), QTextCursor::KeepAnchor);
            if (cursor.selectedText().trimmed().isEmpty())
                insertPlainText(QStringLiteral("    "));
            else
                handleTabCompletion();
        }
        return;
    }
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && cursor.hasSelection()) {
        // Deleting leaves the clipboard alone; only the part after the prompt goes.
        if (verifySelectionBeforeDeletion())
            textCursor().removeSelectedText();
        return;
    }
    if (handleCommandLineKey(event))
        return;
    const bool typing = !event->text().isEmpty() && !PythonQtKeyBindings::matches(event, QKeySequence::Copy)
        && !PythonQtKeyBindings::matches(event, QKeySequence::SelectAll);
    if (typing && !prepareTyping())
        return;
    QTextEdit::keyPressEvent(event);
}

bool PythonQtScriptingConsole::handleCommandLineKey(QKeyEvent* event)
{
    return d->handleCommandLineKey(event);
}

bool PythonQtScriptingConsole::prepareTyping()
{
    return d->prepareTyping();
}
