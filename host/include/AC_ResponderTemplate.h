#pragma once

#include "AC_Responder.h"

#include <QPointer>

#include "AC_Manager.h"

// A responder with a fixed identity. It performs nothing itself (see performHere) and has no
// parent responder; the QObject and QWidget templates give it both.
class BELLWICK_HOST_EXPORT AC_ResponderTemplate : public AC_Responder
{
public:
    explicit AC_ResponderTemplate(const QString& identity);
    ~AC_ResponderTemplate() override;

    QString responderIdentity() const override { return m_identity; }
    AC_Responder* parentResponder() override { return nullptr; }
    bool perform(const QString& actionId) override;

    // Registers this responder with manager (null: nothing happens); it unregisters itself when
    // destroyed.
    void initActionManager(AC_Manager* manager);
    AC_Manager* actionManager() const { return m_manager; }

    // Invokes the argument-less slot or invokable method of object named actionId.
    static bool invokeAction(QObject* object, const QString& actionId);
    // The nearest responder among object and its QObject ancestors; null when there is none.
    static AC_Responder* responderOf(QObject* object);

protected:
    // Performs actionId on this responder only.
    virtual bool performHere(const QString& actionId);

private:
    QString m_identity;
    QPointer<AC_Manager> m_manager;
};
