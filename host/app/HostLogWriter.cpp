#include "HostLogWriter.h"

#include "MSG_Log.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

HostLogWriter::~HostLogWriter()
{
    if (m_listener)
        MSG_Log::instance()->removeListener(m_listener);
}

bool HostLogWriter::open(const QString& path, Format format)
{
    m_format = format;
    m_file = std::make_unique<QFile>();
    const bool opened = path == QLatin1String("-")
        ? m_file->open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered)
        : (m_file->setFileName(path), m_file->open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (opened && !m_listener)
        m_listener = MSG_Log::instance()->addListener([this](const MSG_Entry& entry) { write(entry); });
    return opened;
}

QByteArray HostLogWriter::formatLine(const MSG_Entry& entry, Format format)
{
    if (format == PlainMessages)
        return entry.kind == MSG_Entry::Message ? entry.text.toUtf8() + '\n' : QByteArray();
    QJsonObject object;
    if (entry.kind == MSG_Entry::Message) {
        object.insert(QStringLiteral("kind"), QStringLiteral("message"));
        object.insert(QStringLiteral("action"), entry.action);
    } else {
        object.insert(QStringLiteral("kind"), QStringLiteral("python-init"));
    }
    object.insert(QStringLiteral("text"), entry.text);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

// Runs under the log's lock, so lines from different threads never interleave.
void HostLogWriter::write(const MSG_Entry& entry)
{
    const QByteArray line = formatLine(entry, m_format);
    if (line.isEmpty())
        return;
    m_file->write(line);
    m_file->flush();
}
