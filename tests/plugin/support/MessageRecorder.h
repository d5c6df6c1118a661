#pragma once

#include <MSG_Entry.h>

#include <QList>
#include <QMutex>
#include <QStringList>

// Records what reaches the host's message log while it lives.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QList<MSG_Entry> entries() const;
    // Texts of the entries of kind logged with action.
    QStringList messages(int action, MSG_Entry::Kind kind = MSG_Entry::Message) const;
    void clear();

private:
    mutable QMutex mutex;
    QList<MSG_Entry> recorded;
    int listenerId;
};
