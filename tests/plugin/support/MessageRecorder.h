#pragma once

#include <MSG_Log.h>

#include <QMutex>
#include <QStringList>

// Records what reaches the host's message log while it lives.
class MessageRecorder
{
public:
    MessageRecorder() : listenerId(MSG_Log::instance()->addListener([this](const MSG_Entry& entry) { append(entry); })) {}
    ~MessageRecorder() { MSG_Log::instance()->removeListener(listenerId); }
    Q_DISABLE_COPY(MessageRecorder)

    QList<MSG_Entry> entries() const
    {
        QMutexLocker locker(&mutex);
        return recorded;
    }
    // Texts of the entries of kind logged with action.
    QStringList messages(int action, MSG_Entry::Kind kind = MSG_Entry::Message) const
    {
        QStringList texts;
        for (const MSG_Entry& entry : entries()) {
            if (entry.kind == kind && entry.action == action)
                texts << entry.text;
        }
        return texts;
    }
    void clear()
    {
        QMutexLocker locker(&mutex);
        recorded.clear();
    }

private:
    void append(const MSG_Entry& entry)
    {
        QMutexLocker locker(&mutex);
        recorded.append(entry);
    }

    mutable QMutex mutex;
    QList<MSG_Entry> recorded;
    int listenerId;
};
