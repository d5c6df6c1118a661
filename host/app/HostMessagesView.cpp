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
    const bool atBottom = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    QElapsedTimer slice;
    slice.start();
    bool more = true;
    while (more && !slice.hasExpired(sliceMilliseconds)) {
        QList<MSG_Entry> step;
        {
            QMutexLocker lock(&m_pendingMutex);
            step = m_pending.mid(0, stepEntries);
            m_pending.remove(0, step.size());
            more = !m_pending.isEmpty();
            m_showScheduled = more;
        }
        m_model->append(step);
    }
    if (atBottom)
        scrollToBottom();
    if (more) // the rest after the events that waited meanwhile
        QMetaObject::invokeMethod(this, &HostMessagesView::showPending, Qt::QueuedConnection);
}
