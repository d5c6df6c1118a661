#include "HostMessagesView.h"

#include "HostMessagesModel.h"
#include "MSG_Log.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QScrollBar>

namespace {
// Entries shown per step of a slice: small enough that one step stays well under a slice.
constexpr qsizetype stepEntries = 256;
}

HostMessagesView::HostMessagesView(QWidget* parent)
    : QListView(parent), m_model(new HostMessagesModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSG_Log* log = MSG_Log::instance();
    m_model->append(log->entries());
    m_listenerId = log->addListener([this](const MSG_Entry& entry) { collect(entry); });
}

HostMessagesView::~HostMessagesView()
{
    MSG_Log::instance()->removeListener(m_listenerId);
}

// Runs on the thread that added the entry: one queued call per batch, not one per entry.
void HostMessagesView::collect(const MSG_Entry& entry)
{
    QMutexLocker lock(&m_pendingMutex);
    m_pending.append(entry);
    if (m_showScheduled)
        return;
    m_showScheduled = true;
    QMetaObject::invokeMethod(this, &HostMessagesView::showPending, Qt::QueuedConnection);
}

void HostMessagesView::showPending()
{
    {
        QMutexLocker lock(&m_pendingMutex);
        m_backlog.append(std::move(m_pending));
        m_pending.clear();
        m_showScheduled = false;
    }
    const bool atBottom = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    QElapsedTimer slice;
    slice.start();
    while (m_shown < m_backlog.size() && !slice.hasExpired(sliceMilliseconds)) {
        const QList<MSG_Entry> step = m_backlog.mid(m_shown, stepEntries);
        m_shown += step.size();
        m_model->append(step);
    }
    if (atBottom)
        scrollToBottom();
    if (m_shown < m_backlog.size()) { // the rest after the events that waited meanwhile
        QMetaObject::invokeMethod(this, &HostMessagesView::showPending, Qt::QueuedConnection);
        return;
    }
    m_backlog.clear();
    m_shown = 0;
}
