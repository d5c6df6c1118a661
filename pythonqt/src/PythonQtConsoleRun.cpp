#include "PythonQtConsoleRun.h"

#include "PythonQtBlockingWake.h"
#include "PythonQtConsolePump.h"
#include "PythonQtPython.h"
#include "PythonQtScriptingConsole.h"
#include "PythonQtScriptingConsolePrivate.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QThread>
#include <QToolButton>

namespace {

PythonQtConsoleRun* s_activeRun = nullptr;

PythonQtConsolePump& eventPump()
{
    static PythonQtConsolePump instance;
    return instance;
}

bool isInterruptKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_C && key->modifiers().testFlag(Qt::ControlModifier);
}

// A control that interrupts the run: a menu entry or tool button of an action named "interrupt".
bool isInterruptControl(QObject* target, QEvent* event)
{
    if (auto* button = qobject_cast<QToolButton*>(target))
        return button->defaultAction() && button->defaultAction()->objectName() == QLatin1String("interrupt");
    if (auto* menu = qobject_cast<QMenu*>(target)) {
        const QAction* action = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        return action && action->objectName() == QLatin1String("interrupt");
    }
    return false;
}

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

bool isMouseButton(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
}

} // namespace

PythonQtConsoleRun::PythonQtConsoleRun(PythonQtScriptingConsole* console)
    : m_console(console)
{
}

PythonQtConsoleRun::~PythonQtConsoleRun()
{
    if (m_active)
        end();
}

bool PythonQtConsoleRun::anyActive()
{
    return s_activeRun != nullptr;
}

void PythonQtConsoleRun::begin()
{
    m_active = true;
    m_interruptRequested = false;
    s_activeRun = this;
    if (qApp) {
        qApp->installEventFilter(this);
        eventPump().start(&PythonQtConsoleRun::pumpEvents);
        PythonQtBlockingWake::arm(&PythonQtConsoleRun::pumpEvents);
    }
}

void PythonQtConsoleRun::end()
{
    PythonQtBlockingWake::disarm();
    eventPump().stop();
    if (qApp) {
        // Output still gathered goes in step by step with painting in between; a thread that
        // goes on printing cannot keep the run from ending.
        PythonQtConsoleOutput& output = m_console->d->output;
        for (int step = output.stepsForScrollback(); step > 0 && output.flushStep(); --step)
            QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
        // Keys already on their way join the type-ahead.
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
        qApp->removeEventFilter(this);
    }
    s_activeRun = nullptr;
    m_active = false;
    m_interruptRequested = false;
    // Once the console has shown its next prompt.
    if (!m_typeAhead.isEmpty())
        QMetaObject::invokeMethod(this, [this] { replayTypeAhead(); }, Qt::QueuedConnection);
}

void PythonQtConsoleRun::replayTypeAhead()
{
    while (!anyActive() && !m_typeAhead.isEmpty()) {
        const TypedInput typed = m_typeAhead.takeFirst();
        if (typed.key == 0) {
            QMimeData data;
            data.setText(typed.text);
            m_console->insertFromMimeData(&data);
        } else {
            QKeyEvent key(QEvent::KeyPress, typed.key, typed.modifiers, typed.text);
            QCoreApplication::sendEvent(m_console, &key);
        }
    }
}

void PythonQtConsoleRun::paste(const QString& text)
{
    if (isAnswering())
        typeIntoAnswer(text);
    else
        m_typeAhead.append({0, Qt::NoModifier, text});
}

void PythonQtConsoleRun::typeIntoAnswer(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const qsizetype feed = line.indexOf(QLatin1Char('\n'));
    if (feed >= 0 && feed + 1 < line.size())
        m_typeAhead.prepend({0, Qt::NoModifier, line.mid(feed + 1)});
    QTextCursor cursor = m_console->textCursor();
    if (cursor.selectionStart() < inputStart())
        cursor.movePosition(QTextCursor::End);
    cursor.insertText(line.left(feed));
    m_console->setTextCursor(cursor);
    if (feed >= 0) {
        m_inputLine = m_console->d->commandText();
        finishLine(false);
    }
}

void PythonQtConsoleRun::answerFromTypeAhead()
{
    while (isAnswering() && !m_typeAhead.isEmpty()) {
        const TypedInput typed = m_typeAhead.takeFirst();
        if (typed.key == 0) {
            typeIntoAnswer(typed.text);
        } else {
            QKeyEvent key(QEvent::KeyPress, typed.key, typed.modifiers, typed.text);
            filterInputKey(&key);
        }
    }
}

void PythonQtConsoleRun::finishLine(bool ended)
{
    m_inputEnded = ended;
    m_lineReady = true;
    if (m_inputLoop)
        m_inputLoop->quit();
}

void PythonQtConsoleRun::interrupt()
{
    if (!m_active)
        return;
    m_interruptRequested = true;
    m_typeAhead.clear();
    if (m_inputLoop)
        m_inputLoop->quit();
    eventPump().requestNow();
    PythonQtBlockingWake::wake();
}

int PythonQtConsoleRun::pumpEvents(void*)
{
    eventPump().served();
    return s_activeRun ? s_activeRun->pump() : 0;
}

int PythonQtConsoleRun::pump()
{
    // Events may run Python on this thread, whose bytecode could ask for another pump.
    if (!m_pumping) {
        m_pumping = true;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        m_pumping = false;
    }
    return raiseInterruptIfRequested() ? -1 : 0;
}

bool PythonQtConsoleRun::raiseInterruptIfRequested()
{
    if (!m_interruptRequested.exchange(false))
        return false;
    PyErr_SetNone(PyExc_KeyboardInterrupt);
    return true;
}

bool PythonQtConsoleRun::readLine(QString& line)
{
    line.clear();
    PythonQtConsoleRun* run = s_activeRun;
    // Only the console's own code, on its own thread, can wait for the user: others read end
    // of input.
    if (!run || QThread::currentThread() != run->m_console->thread() || run->m_inputLoop)
        return true;
    return run->waitForLine(line);
}

int PythonQtConsoleRun::inputStart() const
{
    return m_console->document()->lastBlock().position() + m_inputColumn;
}

bool PythonQtConsoleRun::waitForLine(QString& line)
{
    PythonQtConsoleOutput& output = m_console->d->output;
    output.setAnswering(true);
    QTextCursor cursor = m_console->textCursor();
    cursor.movePosition(QTextCursor::End);
    m_console->setTextCursor(cursor);
    m_inputColumn = cursor.positionInBlock();
    m_lineReady = false;
    m_inputEnded = false;
    m_inputLine.clear();
    m_console->setFocus(Qt::OtherFocusReason);

    QEventLoop loop;
    m_inputLoop = &loop;
    answerFromTypeAhead();
    if (!m_interruptRequested && !m_lineReady) {
        PyThreadState* state = PyEval_SaveThread();
        loop.exec();
        PyEval_RestoreThread(state);
    }
    m_inputLoop = nullptr;
    output.setAnswering(false);
    output.startNewLine();
    if (raiseInterruptIfRequested())
        return false;
    if (!m_inputEnded)
        line = m_inputLine + QLatin1Char('\n');
    return true;
}

bool PythonQtConsoleRun::isConsoleWidget(QObject* object) const
{
    return object == m_console || object == m_console->viewport();
}

bool PythonQtConsoleRun::filterInputKey(QKeyEvent* key)
{
    QTextCursor cursor = m_console->textCursor();
    const QString typed = m_console->d->commandText(); // the prompt position is the input's start
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_inputLine = typed;
        finishLine(false);
        return true;
    case Qt::Key_D:
        if (!key->modifiers().testFlag(Qt::ControlModifier))
            break;
        if (typed.isEmpty())
            finishLine(true);
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (cursor.position() <= inputStart() && !cursor.hasSelection())
            return true;
        break;
    case Qt::Key_Home:
        cursor.setPosition(inputStart());
        m_console->setTextCursor(cursor);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
        return true;
    default:
        break;
    }
    if (cursor.selectionStart() < inputStart()) {
        cursor.movePosition(QTextCursor::End);
        m_console->setTextCursor(cursor);
    }
    m_console->QTextEdit::keyPressEvent(key);
    return true;
}

bool PythonQtConsoleRun::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // Window-level events reach the widgets after this filter has seen them there.
    if (!watched->isWidgetType())
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claimed, so that no shortcut fires; the key press then comes here.
        event->accept();
        return true;
    }
    if (!isUserInput(type))
        return false;
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isInterruptKey(key)) {
            interrupt();
            return true;
        }
        if (isAnswering() && isConsoleWidget(watched))
            return filterInputKey(key);
        if (isConsoleWidget(watched))
            m_typeAhead.append({key->key(), key->modifiers(), key->text()});
        return true;
    }
    if (m_inputLoop && isConsoleWidget(watched) && type != QEvent::Close)
        return false; // selecting and scrolling in the console while it waits for a line
    if (type == QEvent::Wheel && isConsoleWidget(watched))
        return false;
    if (isMouseButton(type) && isInterruptControl(watched, event))
        return false;
    if (type == QEvent::Close)
        event->ignore();
    return true;
}
