#pragma once

#include "AC_ResponderTemplate.h"

#include <QWidget>

// A QWidget (T) that is a responder: its actions are its argument-less slots, its parent
// responder the nearest responder among its parent widgets.
template <class T>
class AC_ResponderTemplateWidget : public T, public AC_ResponderTemplate
{
public:
    AC_ResponderTemplateWidget(QWidget* parent, Qt::WindowFlags flags, const QString& identity)
        : T(parent, flags), AC_ResponderTemplate(identity)
    {
    }

    AC_Responder* parentResponder() override { return responderOf(this->parentWidget()); }

protected:
    bool performHere(const QString& actionId) override { return invokeAction(this, actionId); }
};
