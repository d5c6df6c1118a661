#pragma once

#include "BellwickHostExport.h"

#include <QStringList>

class SC_SessionContext;
class SCP_PythonEngine;

// The session's registry of the Python engine factory.
class BELLWICK_HOST_EXPORT SCP_PythonManager
{
public:
    using EngineCreationCallback = SCP_PythonEngine* (*)(SC_SessionContext*);

    void registerEngineCreationCallback(EngineCreationCallback callback);
    EngineCreationCallback engineCreationCallback() const { return m_callback; }

    // Messages gathered while Python modules were loaded.
    const QStringList& loadMessages() const { return m_loadMessages; }
    void addLoadMessage(const QString& message) { m_loadMessages.append(message); }

private:
    EngineCreationCallback m_callback = nullptr;
    QStringList m_loadMessages;
};
