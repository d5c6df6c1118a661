#pragma once

#include "BellwickHostExport.h"

#include <QObject>
#include <QString>

// Something that performs actions named by identifier, or passes them to its parent responder.
class BELLWICK_HOST_EXPORT AC_Responder
{
public:
    virtual ~AC_Responder();

    virtual QString responderIdentity() const = 0;
    virtual AC_Responder* parentResponder() = 0;
    // Performs actionId here or along the parent chain; false when nobody did.
    virtual bool perform(const QString& actionId) = 0;
};

// qt_metacast and qobject_cast know responders by the interface's own name.
#define AC_Responder_iid "AC_Responder"
Q_DECLARE_INTERFACE(AC_Responder, AC_Responder_iid)
