#include "HostMessagesView.h"

#include "MSG_Log.h"

HostMessagesView::HostMessagesView(QWidget* parent)
    : QListWidget(parent)
{
    MSG_Log* log = MSG_Log::instance();
    // Queued, so that entries added on other threads reach the widget on its own thread.
    connect(log, &MSG_Log::entryAdded, this, &HostMessagesView::addEntry, Qt::QueuedConnection);
    for (const MSG_Entry& entry : log->entries())
        addEntry(entry);
}

void HostMessagesView::addEntry(const MSG_Entry& entry)
{
    const QString prefix = entry.kind == MSG_Entry::PythonInit ? QStringLiteral("[start-up] ")
                                                               : QStringLiteral("[%1] ").arg(entry.action);
    addItem(prefix + entry.text);
    scrollToBottom();
}
