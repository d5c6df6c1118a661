#pragma once

#include "plugin/PyObjectEntry.h"

#include <SCR_AbstractInterface.h>

#include <QMap>

class QScriptEngine;

// The plug-in object, published to host scripts as "PythonManager". Constructing it starts the
// interpreter; it lives for the rest of the process.
class PythonScript : public SCR_AbstractInterface
{
    Q_OBJECT
public:
    // Creates the object on first use.
    static PythonScript* instance();

    bool isInitialized() const { return initialized; }

private:
    PythonScript();
    void startPython();

    QScriptEngine* scriptEngine = nullptr;
    QObject* globalJsObject = nullptr;
    QMap<QString, PyObjectEntry> pyObjects;
    bool initialized = false;
};
