#include "BellwickMainWindow.h"

#include "HostMessagesView.h"
#include "LXLayoutManager.h"

#include <QDockWidget>
#include <QLabel>

BellwickMainWindow::BellwickMainWindow(LXLayoutManager* layoutManager, QWidget* parent)
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

    if (m_layoutManager)
        m_layoutManager->setMainWindow(this);
    resize(1000, 700);
}

BellwickMainWindow::~BellwickMainWindow()
{
    if (m_layoutManager)
        m_layoutManager->setMainWindow(nullptr);
}
