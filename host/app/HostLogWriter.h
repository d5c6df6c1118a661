#pragma once

#include "MSG_Entry.h"

#include <QFile>

#include <memory>

// Writes the message log to a file or standard error while it lives: as JSON Lines, one object
// per event, or as plain message lines. Entries from any thread, each line flushed at once.
class HostLogWriter
{
public:
    enum Format {
        JsonLines,    // {"kind":"message","action":N,"text":...} and {"kind":"python-init","text":...}
        PlainMessages // host messages only, as "text"
    };

    HostLogWriter() = default;
    ~HostLogWriter();

    // path "-" is standard error. False (with error()) when the file cannot be opened.
    bool open(const QString& path, Format format);
    QString error() const { return m_file ? m_file->errorString() : QString(); }

    static QByteArray formatLine(const MSG_Entry& entry, Format format);

    HostLogWriter(const HostLogWriter&) = delete;
    HostLogWriter& operator=(const HostLogWriter&) = delete;

private:
    void write(const MSG_Entry& entry);

    std::unique_ptr<QFile> m_file;
    Format m_format = JsonLines;
    int m_listener = 0;
};
