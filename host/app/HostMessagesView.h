#pragma once

#include "MSG_Entry.h"

#include <QListView>
#include <QMutex>

class HostMessagesModel;

// Lists the host's messages and Python start-up lines, old and new. Entries from any thread are
// collected and shown in batches, a few milliseconds of work per turn of the event loop, so that
// a flood of output never stalls the window.
class HostMessagesView : public QListView
{
    Q_OBJECT
public:
    static constexpr int sliceMilliseconds = 10;

    explicit HostMessagesView(QWidget* parent = nullptr);
    ~HostMessagesView() override;

private slots:
    void showPending();

private:
    void collect(const MSG_Entry& entry);

    HostMessagesModel* m_model;
    int m_listenerId = 0;
    QMutex m_pendingMutex;
    QList<MSG_Entry> m_pending; // added by any thread, guarded by the mutex
    bool m_showScheduled = false;
    QList<MSG_Entry> m_backlog; // taken over by this thread, shown up to m_shown
    qsizetype m_shown = 0;
};
