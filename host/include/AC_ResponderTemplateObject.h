#pragma once

#include "AC_ResponderTemplate.h"

// A QObject (T) that is a responder: its actions are its argument-less slots, its parent
// responder the nearest responder among its QObject ancestors.
template <class T>
class AC_ResponderTemplateObject : public T, public AC_ResponderTemplate
{
public:
    AC_ResponderTemplateObject(QObject* parent, const QString& identity)
        : T(parent), AC_ResponderTemplate(identity)
    {
    }

    AC_Responder* parentResponder() override { return responderOf(this->parent()); }

protected:
    bool performHere(const QString& actionId) override { return invokeAction(this, actionId); }
};
