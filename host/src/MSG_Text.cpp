#include "MSG_Text.h"

MSG_Text::MSG_Text(const QString& text)
    : m_source(text), m_text(text)
{
}

MSG_Text::MSG_Text(const char* sourceText, const QString& translated)
    : m_source(QString::fromUtf8(sourceText)), m_text(translated)
{
}

MSG_Text& MSG_Text::arg(const QString& value, int fieldWidth)
{
    m_source = m_source.arg(value, fieldWidth);
    m_text = m_text.arg(value, fieldWidth);
    return *this;
}

MSG_Text& MSG_Text::arg(int value, int fieldWidth)
{
    return arg(QString::number(value), fieldWidth);
}
