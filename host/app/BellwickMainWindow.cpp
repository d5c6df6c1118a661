#include "BellwickMainWindow.h"

#include "CO_CommandManager.h"
#include "HostMessagesView.h"
#include "LXLayoutManager.h"
#include "LXLayoutView.h"
#include "PR_Preference.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QUndoStack>

namespace {

const QString geometryKey = QStringLiteral("bellwick/mainWindowGeometry");
const QString stateKey = QStringLiteral("bellwick/mainWindowState");
const QSize firstSize(1200, 800);

QByteArray readBytes(const QString& key)
{
    return QByteArray::fromBase64(lxPref.getStringValue(key).toLatin1());
}

} // namespace

BellwickMainWindow::BellwickMainWindow(LXLayoutManager* layoutManager, CO_CommandManager* commandManager, QWidget* parent)
    : QMainWindow(parent), m_layoutManager(layoutManager)
{
    setWindowTitle(QStringLiteral("Bellwick"));
    auto* centre = new QLabel(tr("Bellwick reference host"), this);
    centre->setAlignment(Qt::AlignCenter);
    setCentralWidget(centre);

    auto* messages = new QDockWidget(tr("Messages"), this);
    messages->setObjectName(QStringLiteral("Messages"));
    messages->setWidget(new HostMessagesView(messages));
    addDockWidget(Qt::BottomDockWidgetArea, messages);

    addFileMenu();
    addEditMenu(commandManager);
    m_windowMenu = menuBar()->addMenu(tr("&Window"));
    m_areasEnd = m_windowMenu->addSeparator();
    m_windowMenu->addAction(messages->toggleViewAction());

    if (m_layoutManager) {
        m_layoutManager->setMainWindow(this);
        for (const LXPluginArea& area : m_layoutManager->areas())
            addWindowEntry(area);
        connect(m_layoutManager, &LXLayoutManager::areaAdded, this, &BellwickMainWindow::addLateArea);
    }
    restoreLayout();
}

BellwickMainWindow::~BellwickMainWindow()
{
    saveLayout();
    if (m_layoutManager)
        m_layoutManager->setMainWindow(nullptr);
}

void BellwickMainWindow::closeEvent(QCloseEvent* event)
{
    if (m_layoutManager) {
        for (const LXPluginArea& area : m_layoutManager->areas()) {
            LXLayoutView* view = m_layoutManager->view(area.areaId);
            QWidget* widget = view ? view->widget() : nullptr;
            bool canClose = true;
            if (widget && widget->metaObject()->indexOfMethod("confirmClose()") >= 0
                && QMetaObject::invokeMethod(widget, "confirmClose", Qt::DirectConnection, Q_RETURN_ARG(bool, canClose))
                && !canClose) {
                event->ignore();
                return;
            }
        }
    }
    QMainWindow::closeEvent(event);
}

void BellwickMainWindow::addFileMenu()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcuts(QKeySequence::Quit);
}

void BellwickMainWindow::addEditMenu(CO_CommandManager* commandManager)
{
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = edit->addAction(tr("&Undo"));
    QAction* redo = edit->addAction(tr("&Redo"));
    undo->setShortcuts(QKeySequence::Undo);
    redo->setShortcuts(QKeySequence::Redo);
    QUndoStack* stack = commandManager ? commandManager->undoStack() : nullptr;
    undo->setEnabled(stack && stack->canUndo());
    redo->setEnabled(stack && stack->canRedo());
    if (!stack)
        return;
    connect(undo, &QAction::triggered, this, [commandManager] { commandManager->unexecute(1); });
    connect(redo, &QAction::triggered, this, [commandManager] { commandManager->reexecute(1); });
    connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
}

// Area entries come before the separator that sets Messages apart.
void BellwickMainWindow::addWindowEntry(const LXPluginArea& area)
{
    QDockWidget* dock = m_layoutManager->dock(area.areaId);
    if (dock && area.listedInWindowMenu)
        m_windowMenu->insertAction(m_areasEnd, dock->toggleViewAction());
}

void BellwickMainWindow::addLateArea(const QString& areaId)
{
    for (const LXPluginArea& area : m_layoutManager->areas()) {
        if (area.areaId == areaId)
            addWindowEntry(area);
    }
    if (QDockWidget* dock = m_layoutManager->dock(areaId))
        restoreDockWidget(dock);
}

void BellwickMainWindow::restoreLayout()
{
    if (!restoreGeometry(readBytes(geometryKey)))
        resize(firstSize);
    if (restoreState(readBytes(stateKey)) || !m_layoutManager)
        return;
    // First start: the plug-in areas, stacked in one column, take two fifths of the width and
    // share its height as their views' size hints say.
    QList<QDockWidget*> areaDocks;
    QList<int> heights;
    for (const LXPluginArea& area : m_layoutManager->areas()) {
        if (QDockWidget* dock = m_layoutManager->dock(area.areaId)) {
            areaDocks.append(dock);
            heights.append(dock->sizeHint().height());
        }
    }
    resizeDocks(areaDocks, QList<int>(areaDocks.size(), width() * 2 / 5), Qt::Horizontal);
    resizeDocks(areaDocks, heights, Qt::Vertical);
}

void BellwickMainWindow::saveLayout() const
{
    lxPref.setStringValue(geometryKey, QString::fromLatin1(saveGeometry().toBase64()));
    lxPref.setStringValue(stateKey, QString::fromLatin1(saveState().toBase64()));
}
