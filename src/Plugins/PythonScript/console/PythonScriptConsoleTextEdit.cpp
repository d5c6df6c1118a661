#include "console/PythonScriptConsoleTextEdit.h"

#include <BUIAPP_Application.h>
#include <CO_CommandManager.h>
#include <PLUG_Services.h>
#include <PR_Preference.h>
#include <PythonQtKeyBindings.h>
#include <SCP_PythonEngine.h>
#include <SC_SessionContext.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QStringListModel>
#include <QTimer>

namespace {

SCP_PythonEngine* sessionEngine()
{
    SC_SessionContext* session = PLUG_Services::getSessionContext();
    return session ? session->pythonEngine() : nullptr;
}

// The host's style flag, read once per colour operation as soon as the host application exists;
// dark until then.
class DarkStyleFlag
{
public:
    bool isDark()
    {
        if (!read) {
            if (BUIAPP_Application* application = BUIAPP_Application::instance()) {
                dark = application->isDarkStyle();
                read = true;
            }
        }
        return dark;
    }

private:
    bool read = false;
    bool dark = true;
};

bool preferenceColor(QColor& color, DarkStyleFlag& style, const char* darkKey, QRgb darkDefault,
                     const char* lightKey, QRgb lightDefault)
{
    const bool dark = style.isDark();
    const QRgb value = dark ? lxPref.getRgbaValue(QLatin1String(darkKey), darkDefault)
                            : lxPref.getRgbaValue(QLatin1String(lightKey), lightDefault);
    color = QColor(value); // opaque whatever alpha the preference holds
    return true;
}

const char* const errorDarkKey = "QZ_PYTHON_ERROR_COLOR_DARK";
const char* const errorLightKey = "QZ_PYTHON_ERROR_COLOR_LIGHT";

} // namespace

PythonScriptConsoleTextEdit::PythonScriptConsoleTextEdit(QWidget* parent, const PythonQtObjectPtr& context)
    : PythonQtScriptingConsole(parent, context, Qt::WindowFlags()),
      leadingBlanks(QStringLiteral("[ ]+")),
      output(sessionEngine(), this)
{
    setFont(QFont(QStringLiteral("consolas")));
    PythonQtScriptingConsole::setCommandPrompt(primaryPrompt);
    PythonQtScriptingConsole::clear();
    connect(this, &QTextEdit::cursorPositionChanged, this, &PythonScriptConsoleTextEdit::onCursorPositionChanged);
    // A selection that collapses where it ends (Right over a selection) moves no position.
    connect(this, &QTextEdit::selectionChanged, this, &PythonScriptConsoleTextEdit::onCursorPositionChanged);
    QTimer::singleShot(focusDelayMs, this, qOverload<>(&QWidget::setFocus));
    lookupTimer.setSingleShot(true);
    lookupTimer.setInterval(0);
    connect(&lookupTimer, &QTimer::timeout, this, &PythonScriptConsoleTextEdit::continueCompletion);
}

PythonScriptConsoleTextEdit::~PythonScriptConsoleTextEdit() = default;

// --- protected region -------------------------------------------------------------------------

void PythonScriptConsoleTextEdit::guardCursor()
{
    QTextCursor cursor = textCursor();
    if (cursor.position() < commandPromptPosition() && !cursor.hasSelection() && !mouseButtonDown) {
        cursor.movePosition(QTextCursor::End);
        setTextCursor(cursor);
    }
}

void PythonScriptConsoleTextEdit::onCursorPositionChanged()
{
    guardCursor();
}

void PythonScriptConsoleTextEdit::mousePressEvent(QMouseEvent* event)
{
    mouseButtonDown = true;
    QTextEdit::mousePressEvent(event);
}

void PythonScriptConsoleTextEdit::mouseReleaseEvent(QMouseEvent* event)
{
    mouseButtonDown = false;
    QTextEdit::mouseReleaseEvent(event);
    guardCursor();
}

// --- keys -------------------------------------------------------------------------------------

void PythonScriptConsoleTextEdit::keyPressEvent(QKeyEvent* event)
{
    QCompleter* completer = getCompleter();
    if (PythonQtKeyBindings::matches(event, QKeySequence::Undo) || PythonQtKeyBindings::matches(event, QKeySequence::Redo)) {
        event->accept();
        SC_SessionContext* session = PLUG_Services::getSessionContext();
        if (CO_CommandManager* commands = session ? session->commandManager() : nullptr) {
            if (PythonQtKeyBindings::matches(event, QKeySequence::Undo))
                commands->unexecute(1);
            else
                commands->reexecute(1);
        }
        return;
    }
    if (completer && completer->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            event->ignore();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            QItemSelectionModel* selection = completer->popup()->selectionModel();
            if (selection && !selection->selectedIndexes().isEmpty()) {
                event->ignore();
                return;
            }
            break;
        }
        default:
            break;
        }
    }

    if (handleEditorKey(event)) {
        hideCompletionPopup();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
    if (!event->text().isEmpty())
        handleTabCompletion();
    else
        hideCompletionPopup();
}

bool PythonScriptConsoleTextEdit::handleEditorKey(QKeyEvent* event)
{
    QTextCursor cursor = textCursor();
    const int key = event->key();
    if (key == Qt::Key_A && event->modifiers().testFlag(Qt::ControlModifier)) {
        cursor.setPosition(commandPromptPosition());
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
        return true;
    }
    if (key == Qt::Key_End) {
        if (event->modifiers().testFlag(Qt::ShiftModifier))
            cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
        else
            cursor.movePosition(QTextCursor::End);
        setTextCursor(cursor);
        return true;
    }
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && cursor.hasSelection()) {
        cut();
        return true;
    }
    if (handleCommandLineKey(event))
        return true;
    const bool typing = key >= Qt::Key_Space && key <= Qt::Key_division;
    return typing && !prepareTyping();
}

// --- command line -------------------------------------------------------------------------------

void PythonScriptConsoleTextEdit::replaceCommandLine(const QString& text)
{
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.setPosition(commandPromptPosition(), QTextCursor::KeepAnchor);
    cursor.insertText(text);
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
}

void PythonScriptConsoleTextEdit::runCommand(const QString& code)
{
    replaceCommandLine(QString());
    QMimeData typed;
    typed.setText(code.endsWith(QLatin1Char('\n')) ? code : code + QLatin1Char('\n'));
    insertFromMimeData(&typed);
}

// --- colours ------------------------------------------------------------------------------------

bool PythonScriptConsoleTextEdit::outputColor(QColor& color)
{
    static DarkStyleFlag style;
    return preferenceColor(color, style, "QZ_PYTHON_OUT_COLOR_DARK", 0xFF50C14B, "QZ_PYTHON_OUT_COLOR_LIGHT", 0xFF004800);
}

bool PythonScriptConsoleTextEdit::errorColor(QColor& color)
{
    static DarkStyleFlag style;
    return preferenceColor(color, style, errorDarkKey, 0xFFB81530, errorLightKey, 0xFF6C0000);
}

bool PythonScriptConsoleTextEdit::commandColor(QColor& color)
{
    static DarkStyleFlag style;
    return preferenceColor(color, style, errorDarkKey, 0xFFBCC8C1, errorLightKey, 0xFF000000);
}

// --- execution hooks ----------------------------------------------------------------------------

void PythonScriptConsoleTextEdit::pushOutputRedirect()
{
    if (SCP_PythonEngine* engine = sessionEngine())
        engine->pushRedirectObject(&output);
    else
        PythonQtScriptingConsole::pushOutputRedirect();
}

void PythonScriptConsoleTextEdit::popOutputRedirect()
{
    if (SCP_PythonEngine* engine = sessionEngine())
        engine->popRedirectObject();
    else
        PythonQtScriptingConsole::popOutputRedirect();
}

bool PythonScriptConsoleTextEdit::needsMoreInput(const QString& line, const QString& code, bool more)
{
    pendingIndent = autoIndentFor(line, code, more);
    return autoIndentActive ? !pendingIndent.isEmpty() : more;
}

QString PythonScriptConsoleTextEdit::autoIndentFor(const QString& line, const QString& /*code*/, bool more)
{
    if (!lxPref.getBoolValue(QStringLiteral("QZ_PYTHON_AUTOINDENT"), true) || !more || line.isEmpty())
        return QString();
    const QRegularExpressionMatch blanks = leadingBlanks.match(line);
    QString indent;
    if (!blanks.hasMatch() || blanks.capturedStart() != 0) {
        blankLineSeen = false;
    } else if (blanks.capturedLength() == line.size()) {
        if (blankLineSeen || blanks.capturedLength() <= 2) {
            blankLineSeen = false;
            return QString();
        }
        indent = blanks.captured().chopped(2);
        blankLineSeen = true;
    } else {
        indent = blanks.captured();
    }
    if (line.endsWith(QLatin1Char(':')))
        indent += QLatin1String("  ");
    return indent;
}

void PythonScriptConsoleTextEdit::didExecuteLine(const QString& line, const QString& code, bool continued)
{
    PythonQtScriptingConsole::didExecuteLine(line, code, continued);
    if (!autoIndentActive)
        return;
    if (!continued) {
        pendingIndent.clear();
        return;
    }
    if (!pendingIndent.isEmpty()) {
        insertPlainText(pendingIndent);
        moveCursor(QTextCursor::End);
    }
}

int PythonScriptConsoleTextEdit::willExecuteCode(const QString& code)
{
    ++SCP_PythonEngine::mainThreadState();
    PythonQtScriptingConsole::willExecuteCode(code);
    return compileMode;
}

void PythonScriptConsoleTextEdit::didExecuteCode(const QString& code)
{
    PythonQtScriptingConsole::didExecuteCode(code);
    int& nesting = SCP_PythonEngine::mainThreadState();
    nesting = nesting > 0 ? nesting - 1 : 0;
    compileMode = singleStatementMode;
    emit codeExecuted();
}

// --- completion ---------------------------------------------------------------------------------

void PythonScriptConsoleTextEdit::handleTabCompletion()
{
    // Looking a library's names up takes longer than a frame: never on the key's own path.
    if (completionNeedsLookup()) {
        hideCompletionPopup();
        lookupTimer.start();
        return;
    }
    lookupTimer.stop();
    offerRankedCompletions();
}

bool PythonScriptConsoleTextEdit::completionPending() const
{
    return lookupTimer.isActive() || completionPopupPending();
}

void PythonScriptConsoleTextEdit::continueCompletion()
{
    // One step per turn of the event loop, so that input waits for neither the lookup and the
    // ranking together: first the lookup, then the ranking (the popup opens on a third).
    if (completionNeedsLookup()) {
        QString prefix;
        completionCandidates(prefix);
        lookupTimer.start();
        return;
    }
    offerRankedCompletions();
}

void PythonScriptConsoleTextEdit::offerRankedCompletions()
{
    QString prefix;
    const QStringList found = completionCandidates(prefix);
    QCompleter* completer = getCompleter();
    if (found.isEmpty() || !completer || !qobject_cast<QStringListModel*>(completer->model())) {
        PythonQtScriptingConsole::handleTabCompletion(); // nothing to rank: as the base offers them
        return;
    }
    QTextCursor wordStart = textCursor();
    wordStart.movePosition(QTextCursor::StartOfWord);
    offerCompletions(ranked.rank(found, getHistory(), completionLimit), prefix,
                     cursorRect(wordStart).translated(0, popupOffsetPx));
}

void PythonScriptConsoleTextEdit::insertCompletion(const QString& completion)
{
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
    if (cursor.selectedText() == QLatin1String(".")) {
        cursor.insertText(QLatin1Char('.') + completion);
        return;
    }
    cursor = textCursor();
    cursor.movePosition(QTextCursor::StartOfWord);
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    static const QRegularExpression wordCleaner(QStringLiteral("[^a-zA-Z0-9]"));
    const QString cleaned = QString(cursor.selectedText()).remove(wordCleaner);
    if (cleaned.isEmpty() && cursor.selectionStart() > 0) {
        cursor.setPosition(cursor.selectionStart() - 1);
        setTextCursor(cursor);
        insertCompletion(completion);
        return;
    }
    cursor.insertText(completion);
    setTextCursor(cursor);
}

// --- clipboard ----------------------------------------------------------------------------------

QMimeData* PythonScriptConsoleTextEdit::createMimeDataFromSelection() const
{
    QMimeData* data = QTextEdit::createMimeDataFromSelection();
    if (!data || !data->hasText())
        return data;
    QStringList lines = data->text().split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.startsWith(primaryPrompt))
            line.remove(0, primaryPrompt.size());
        else if (line.startsWith(continuationPrompt))
            line.remove(0, continuationPrompt.size());
    }
    data->setText(lines.join(QLatin1Char('\n')));
    return data;
}

bool PythonScriptConsoleTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void PythonScriptConsoleTextEdit::insertFromMimeData(const QMimeData* source)
{
    // Pasted while code runs: the base keeps it for input() or for after the run.
    if (isExecuting()) {
        PythonQtScriptingConsole::insertFromMimeData(source);
        return;
    }
    if (!source || !source->hasText())
        return;
    QString pasted = source->text();
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection() && !verifySelectionBeforeDeletion())
        return;
    const int promptPosition = commandPromptPosition();
    cursor = textCursor(); // the check may have trimmed the selection
    if (cursor.position() < promptPosition) {
        cursor.setPosition(promptPosition);
        setTextCursor(cursor);
    }
    if (cursor.hasSelection())
        cut();
    const int offset = textCursor().position() - promptPosition;
    cursor.setPosition(promptPosition);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    const QString command = cursor.selectedText();

    pasted.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString combined = command;
    combined.insert(offset, pasted);

    autoIndentActive = false;
    const qsizetype firstFeed = combined.indexOf(QLatin1Char('\n'));
    compileMode = firstFeed >= 0 && firstFeed < combined.size() - 1 ? statementSequenceMode : singleStatementMode;
    for (qsizetype feed = firstFeed; feed >= 0; feed = combined.indexOf(QLatin1Char('\n'))) {
        const QString part = combined.left(feed);
        combined.remove(0, feed + 1);
        cursor.insertText(part);
        executeLine(!combined.isEmpty());
        letWindowPaint();
        cursor = textCursor();
    }
    autoIndentActive = true;

    if (!combined.isEmpty()) {
        cursor.insertText(combined);
        moveCursor(QTextCursor::End);
        setFocus(Qt::OtherFocusReason);
    }
}
