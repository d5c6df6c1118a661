#pragma once

#include "BellwickHostExport.h"

#include <QString>

// A message text with its untranslated source, filled in with arg() like QString::arg.
class BELLWICK_HOST_EXPORT MSG_Text
{
public:
    explicit MSG_Text(const QString& text);
    MSG_Text(const char* sourceText, const QString& translated);

    MSG_Text& arg(const QString& value, int fieldWidth = 0);
    MSG_Text& arg(int value, int fieldWidth = 0);

    const QString& text() const { return m_text; }
    const QString& sourceText() const { return m_source; }

private:
    QString m_source;
    QString m_text;
};
