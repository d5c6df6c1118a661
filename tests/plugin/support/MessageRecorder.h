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

    QList<MSG_Entry> entries() const;
    // Texts of the host messages logged with action.
    QStringList messages(int action) const { return texts(MSG_Entry::Message, action); }
    QStringList pythonInitLines() const { return texts(MSG_Entry::PythonInit, 0); }
    void clear();

    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

private:
    QStringList texts(MSG_Entry::Kind kind, int action) const;

    mutable QMutex mutex;
    QList<MSG_Entry> recorded;
    int listenerId;
};
