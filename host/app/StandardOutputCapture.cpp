#include "StandardOutputCapture.h"

#include <QByteArray>

#include <unistd.h>

StandardOutputCapture::StandardOutputCapture()
    : m_file(std::tmpfile())
{
    std::fflush(stdout);
    if (m_file)
        m_savedOutput = dup(STDOUT_FILENO);
    if (m_savedOutput >= 0)
        dup2(fileno(m_file), STDOUT_FILENO);
}

StandardOutputCapture::~StandardOutputCapture()
{
    take();
    if (m_file)
        std::fclose(m_file);
}

QString StandardOutputCapture::take()
{
    if (m_savedOutput < 0)
        return QString();
    std::fflush(stdout);
    dup2(m_savedOutput, STDOUT_FILENO);
    close(m_savedOutput);
    m_savedOutput = -1;
    QByteArray text;
    std::rewind(m_file);
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;)
        text.append(buffer, qsizetype(read));
    return QString::fromLocal8Bit(text);
}
