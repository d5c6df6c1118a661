#pragma once

#include "MSG_Text.h"

// One host message: built, optionally filled in with arg(), and logged when it is destroyed.
class BELLWICK_HOST_EXPORT MSG_Scope : public MSG_Text
{
public:
    MSG_Scope(const QString& text, int action);
    MSG_Scope(const char* sourceText, const QString& translated, int action);
    ~MSG_Scope();

    int action() const { return m_action; }

    MSG_Scope(const MSG_Scope&) = delete;
    MSG_Scope& operator=(const MSG_Scope&) = delete;

private:
    int m_action;
};
