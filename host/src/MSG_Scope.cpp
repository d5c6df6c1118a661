#include "MSG_Scope.h"

#include "MSG_Log.h"

MSG_Scope::MSG_Scope(const QString& text, int action)
    : MSG_Text(text), m_action(action)
{
}

MSG_Scope::MSG_Scope(const char* sourceText, const QString& translated, int action)
    : MSG_Text(sourceText, translated), m_action(action)
{
}

MSG_Scope::~MSG_Scope()
{
    MSG_Log::instance()->addMessage(m_action, text());
}
