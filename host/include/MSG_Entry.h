#pragma once

#include "BellwickHostExport.h"

#include <QMetaType>
#include <QString>

// One event of the host's message log.
struct BELLWICK_HOST_EXPORT MSG_Entry
{
    enum Kind {
        Message,   // a host message (MSG_Scope) with its action value
        PythonInit // a line of the Python start-up log (action is 0)
    };

    Kind kind = Message;
    int action = 0;
    QString text;
};

Q_DECLARE_METATYPE(MSG_Entry)
