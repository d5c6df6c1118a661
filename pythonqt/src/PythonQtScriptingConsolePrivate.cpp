#include "PythonQtScriptingConsolePrivate.h"

#include "PythonQt.h"
#include "PythonQtConsoleCompletion.h"
#include "PythonQtConsoleStdin.h"
#include "PythonQtErrors.h"
#include "PythonQtKeyBindings.h"
#include "PythonQtNamespace.h"
#include "PythonQtScriptingConsole.h"
#include "PythonQtThreadSupport.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>

PythonQtScriptingConsolePrivate::PythonQtScriptingConsolePrivate(PythonQtScriptingConsole* console,
                                                                 const PythonQtObjectPtr& context)
    : q(console),
      context(context),
      output(console),
      runState(console)
{
    compilerFlags.cf_flags = 0;
    compilerFlags.cf_feature_version = PY_MINOR_VERSION;
}

void PythonQtScriptingConsolePrivate::run(const QString& code, int start)
{
    candidates.forget();
    PythonQtGILScope lock;
    PyObject* globals = context.isNull() ? nullptr : PythonQtNamespace::globals(context);
    if (!globals)
        return;
    PythonQtObjectPtr savedStdin;
    swapInStdin(savedStdin);
    // The flags carry "from __future__" imports over to later lines, as in Python's own prompt.
    PyObject* compiled = Py_CompileStringExFlags(code.toUtf8().constData(), "<console>", start, &compilerFlags, -1);
    PyObject* result = compiled ? PyEval_EvalCode(compiled, globals, globals) : nullptr;
    Py_XDECREF(result);
    Py_XDECREF(compiled);
    const QString traceback = PythonQtErrors::takeFormatted();
    restoreStdin(savedStdin);
    if (!traceback.isEmpty()) {
        hadError = true;
        q->stdErr(traceback);
    }
}

PythonQtScriptingConsolePrivate::Completeness PythonQtScriptingConsolePrivate::completeness(const QString& code,
                                                                                            const char* symbol)
{
    PythonQtGILScope lock;
    // codeop answers None for code that needs more lines and raises for code that no line can
    // mend, with the compiler's incomplete-input mode where the Python has one; it is asked
    // without the last line feed, which would already end a block.
    const QByteArray source = (code.endsWith(QLatin1Char('\n')) ? code.chopped(1) : code).toUtf8();
    PyObject* codeop = PyImport_ImportModule("codeop");
    PyObject* compiled = codeop ? PyObject_CallMethod(codeop, "compile_command", "sss", source.constData(), "<console>", symbol)
                                : nullptr;
    const Completeness answer = compiled == Py_None ? Incomplete : compiled ? Complete : Invalid;
    Py_XDECREF(compiled);
    Py_XDECREF(codeop);
    PyErr_Clear();
    return answer;
}

bool PythonQtScriptingConsolePrivate::isComplete(const QString& code)
{
    return completeness(code, "single") != Incomplete;
}

bool PythonQtScriptingConsolePrivate::cannotGoOn()
{
    // Each line compiles the whole block again: beyond a typed block's size the error shows
    // when the block runs instead. So it does for lines that go on after a statement that was
    // whole at the prompt (a paste of several): they run as a whole, as a file would.
    if (gatheredHeldStatement || gatheredCode.count(QLatin1Char('\n')) > checkedLinesLimit)
        return false;
    // As a sequence of statements, so that a paste of several is not cut short.
    const Completeness answer = completeness(gatheredCode, "exec");
    gatheredHeldStatement = answer == Complete && isComplete(gatheredCode);
    return answer == Invalid;
}

QString PythonQtScriptingConsolePrivate::takeGatheredCode()
{
    gatheredHeldStatement = false;
    return std::exchange(gatheredCode, QString());
}

QString PythonQtScriptingConsolePrivate::commandText() const
{
    QTextCursor cursor(q->document());
    cursor.setPosition(q->commandPromptPosition());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

bool PythonQtScriptingConsolePrivate::nameBeforeCursor(QString& name, int& partStart)
{
    QTextCursor cursor = q->textCursor();
    const int prompt = q->commandPromptPosition();
    if (q->isExecuting() || cursor.position() < prompt || !PythonQt::self())
        return false;
    const int end = cursor.position();
    cursor.setPosition(prompt, QTextCursor::KeepAnchor);
    name = PythonQtConsoleCompletion::dottedNameBefore(cursor.selectedText());
    partStart = end - int(name.size() - name.lastIndexOf(QLatin1Char('.')) - 1);
    return !name.isEmpty();
}

bool PythonQtScriptingConsolePrivate::keepsKeyOffProtectedText(QKeyEvent* key)
{
    QTextCursor cursor = q->textCursor();
    const int prompt = q->commandPromptPosition();
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return cursor.hasSelection() && !q->verifySelectionBeforeDeletion();
    QTextCursor reach = cursor;
    if (PythonQtKeyBindings::matches(key, QKeySequence::DeleteStartOfWord) && !cursor.hasSelection())
        reach.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
    else if (PythonQtKeyBindings::matches(key, QKeySequence::DeleteCompleteLine))
        reach.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    else
        return false;
    if (reach.selectionStart() >= prompt)
        return false;
    // The key deletes what it would of the command line alone: up to the cursor, or the whole
    // command for a line deletion.
    if (PythonQtKeyBindings::matches(key, QKeySequence::DeleteCompleteLine))
        cursor.movePosition(QTextCursor::End);
    cursor.setPosition(prompt, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    return true;
}

bool PythonQtScriptingConsolePrivate::handleCommandLineKey(QKeyEvent* key)
{
    QTextCursor cursor = q->textCursor();
    const int prompt = q->commandPromptPosition();
    const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        q->executeLine(!shift);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int before = q->getHistoryPosition();
        if ((key->key() == Qt::Key_Up ? q->prevHistoryPosition() : q->nextHistoryPosition()) != before)
            q->changeHistory();
        return true;
    }
    case Qt::Key_Home:
        cursor.setPosition(prompt, shift ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        q->setTextCursor(cursor);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        return cursor.position() <= prompt;
    case Qt::Key_Delete:
        return cursor.position() < prompt;
    default:
        return false;
    }
}

bool PythonQtScriptingConsolePrivate::prepareTyping()
{
    if (q->textCursor().hasSelection() && !q->verifySelectionBeforeDeletion())
        return false;
    QTextCursor cursor = q->textCursor(); // the check may have trimmed the selection
    const int prompt = q->commandPromptPosition();
    if (cursor.position() < prompt) {
        cursor.setPosition(prompt);
        q->setTextCursor(cursor);
    }
    return true;
}

void PythonQtScriptingConsolePrivate::replaceCommandText(const QString& text)
{
    QTextCursor cursor(q->document());
    cursor.setPosition(q->commandPromptPosition());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(text);
    q->setTextCursor(cursor);
}

void PythonQtScriptingConsolePrivate::swapInStdin(PythonQtObjectPtr& saved)
{
    if (consoleStdin.isNull())
        consoleStdin.setNewRef(PythonQtConsoleStdin::create());
    if (consoleStdin.isNull())
        return;
    saved = PySys_GetObject("stdin");
    PySys_SetObject("stdin", consoleStdin);
}

void PythonQtScriptingConsolePrivate::restoreStdin(const PythonQtObjectPtr& saved)
{
    // Code that installed a stdin of its own keeps it.
    if (!consoleStdin.isNull() && PySys_GetObject("stdin") == consoleStdin.object())
        PySys_SetObject("stdin", saved);
    PyErr_Clear();
}
