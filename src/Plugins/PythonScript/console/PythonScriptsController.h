#pragma once

#include "console/PythonScriptInfo.h"

#include <QList>
#include <QMetaType>
#include <QObject>

class QFileInfo;
class SCP_PythonEngine;

// The Python scripts of the host's scripts folder, collected once on construction, each with
// whether the session's engine has it loaded as a module.
class PythonScriptsController : public QObject
{
    Q_OBJECT
public:
    PythonScriptsController();
    ~PythonScriptsController() override;

    // Appends one record per file with the suffix "py" (any case) under folder.
    void scanFolder(const QString& folder, bool recursive);

    QList<PythonScriptInfo> scripts;

signals:
    void scriptsChanged();
    void scriptChanged(int index);

private:
    static PythonScriptInfo makeRecord(const QFileInfo& file, SCP_PythonEngine* engine);
};

Q_DECLARE_METATYPE(PythonScriptsController)
