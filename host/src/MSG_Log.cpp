#include "MSG_Log.h"

#include <QMutexLocker>

MSG_Log::MSG_Log()
{
    qRegisterMetaType<MSG_Entry>();
}

MSG_Log* MSG_Log::instance()
{
    static MSG_Log log;
    return &log;
}

void MSG_Log::add(const MSG_Entry& entry)
{
    // Listeners and the signal run under the lock, so queued receivers get the log's order too.
    QMutexLocker lock(&m_mutex);
    // A host that runs for days with chatty Python output must not grow without end.
    if (m_entries.size() == maxKeptEntries)
        m_entries.removeFirst();
    m_entries.append(entry);
    for (const auto& listener : std::as_const(m_listeners))
        listener.second(entry);
    emit entryAdded(entry);
}

void MSG_Log::addMessage(int action, const QString& text)
{
    add({MSG_Entry::Message, action, text});
}

void MSG_Log::addPythonInit(const QString& text)
{
    add({MSG_Entry::PythonInit, 0, text});
}

QList<MSG_Entry> MSG_Log::entries() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries;
}

void MSG_Log::clear()
{
    QMutexLocker lock(&m_mutex);
    m_entries.clear();
}

int MSG_Log::addListener(Listener listener)
{
    QMutexLocker lock(&m_mutex);
    const int id = m_nextListenerId++;
    m_listeners.append({id, std::move(listener)});
    return id;
}

void MSG_Log::removeListener(int id)
{
    QMutexLocker lock(&m_mutex);
    m_listeners.removeIf([id](const auto& listener) { return listener.first == id; });
}
