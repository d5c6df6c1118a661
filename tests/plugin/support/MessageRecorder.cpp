#include "MessageRecorder.h"

#include <MSG_Log.h>

MessageRecorder::MessageRecorder()
    : listenerId(MSG_Log::instance()->addListener([this](const MSG_Entry& entry) {
        QMutexLocker locker(&mutex);
        recorded.append(entry);
    }))
{
}

MessageRecorder::~MessageRecorder()
{
    MSG_Log::instance()->removeListener(listenerId);
}

QList<MSG_Entry> MessageRecorder::entries() const
{
    QMutexLocker locker(&mutex);
    return recorded;
}

QStringList MessageRecorder::messages(int action, MSG_Entry::Kind kind) const
{
    QStringList texts;
    for (const MSG_Entry& entry : entries()) {
        if (entry.kind == kind && entry.action == action)
            texts << entry.text;
    }
    return texts;
}

void MessageRecorder::clear()
{
    QMutexLocker locker(&mutex);
    recorded.clear();
}
