#include "console/PythonScriptsController.h"

#include <BAPP_SharedSpecialFolders.h>
#include <PLUG_Services.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>
#include <SC_SessionContext.h>

#include <QDirIterator>
#include <QFileInfo>

namespace {

SCP_PythonEngine* sessionEngine()
{
    SC_SessionContext* session = PLUG_Services::getSessionContext();
    return session ? session->pythonEngine() : nullptr;
}

bool isScript(const QFileInfo& entry)
{
    return !entry.isDir() && entry.completeSuffix().compare(QLatin1String("py"), Qt::CaseInsensitive) == 0;
}

} // namespace

PythonScriptsController::PythonScriptsController()
    : QObject(nullptr)
{
    scanFolder(BAPP_SharedSpecialFolders() + QStringLiteral("/scripts"), true);
}

PythonScriptsController::~PythonScriptsController() = default;

void PythonScriptsController::scanFolder(const QString& folder, bool recursive)
{
    // An empty path would make the iterator walk the working folder.
    if (folder.isEmpty())
        return;
    SCP_PythonEngine* engine = sessionEngine();
    // Without FollowSymlinks the iterator never descends into a linked folder, so link loops
    // end like any other entry.
    QDirIterator entries(folder, recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (isScript(entry))
            scripts.append(makeRecord(entry, engine));
    }
}

PythonScriptInfo PythonScriptsController::makeRecord(const QFileInfo& file, SCP_PythonEngine* engine)
{
    PythonScriptInfo record;
    record.name = file.completeBaseName();
    record.filePath = file.absoluteFilePath();
    SCP_PythonModule* module = engine ? engine->module(record.name) : nullptr;
    if (!module)
        return record;
    const QString& moduleFile = module->fileName();
    // A module of the same name from another file is not this script.
    record.loaded = moduleFile.isEmpty() || QFileInfo(moduleFile) == QFileInfo(record.filePath);
    record.module = record.loaded ? module : nullptr;
    return record;
}
