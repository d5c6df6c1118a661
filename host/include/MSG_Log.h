#pragma once

#include "MSG_Entry.h"

#include <QList>
#include <QObject>
#include <QRecursiveMutex>

#include <functional>

// The process-wide message log. Any thread may add entries; listeners run on the adding thread,
// one at a time and in the order of the entries, so they see a single ordered stream.
class BELLWICK_HOST_EXPORT MSG_Log : public QObject
{
    Q_OBJECT
public:
    using Listener = std::function<void(const MSG_Entry&)>;

    static MSG_Log* instance();

    void add(const MSG_Entry& entry);
    void addMessage(int action, const QString& text);
    void addPythonInit(const QString& text);

    // The latest entries, at most maxKeptEntries of them.
    QList<MSG_Entry> entries() const;
    static constexpr qsizetype maxKeptEntries = 10000;
    void clear();

    // Returns an id for removeListener().
    int addListener(Listener listener);
    void removeListener(int id);

signals:
    // Emitted after the listeners ran, in the log's order; receivers on other threads should use
    // a queued connection.
    void entryAdded(const MSG_Entry& entry);

private:
    MSG_Log();

    mutable QRecursiveMutex m_mutex;
    QList<MSG_Entry> m_entries;
    QList<QPair<int, Listener>> m_listeners;
    int m_nextListenerId = 1;
};
