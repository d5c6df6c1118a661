#include "editor/ScriptsView.h"

#include "console/PythonScriptsController.h"
#include "console/StandartItemDelegatePaintExt.h"
#include "editor/ScriptConsolePort.h"
#include "editor/ScriptEditorView.h"
#include "editor/ScriptRunCommand.h"
#include "editor/ScriptViewResources.h"

#include <BAPP_SharedSpecialFolders.h>
#include <LXLayoutManager.h>
#include <PLUG_Services.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>
#include <SC_SessionContext.h>

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileSystemWatcher>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QUrl>
#include <QVBoxLayout>

const QString ScriptsView::areaId = QStringLiteral("Python Scripts");
const QColor ScriptsView::loadedColor = QColor(0x3D, 0x7A, 0x4F, 160);

ScriptsView::ScriptsView(AC_Manager* actionManager, QWidget* parent, const char* menuIdentity, Qt::WindowFlags flags)
    : LXWidgetLayoutView(actionManager, QStringLiteral("PythonScripts"), parent, menuIdentity, flags)
{
    if (parent)
        buildView();
}

ScriptsView* ScriptsView::inLayout()
{
    LXLayoutManager* layout = PLUG_Services::getLayoutManager();
    return layout ? dynamic_cast<ScriptsView*>(layout->view(areaId)) : nullptr;
}

QString ScriptsView::folder()
{
    return BAPP_SharedSpecialFolders() + QStringLiteral("/scripts");
}

void ScriptsView::buildView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    list = new QListView(this);
    list->setObjectName(QStringLiteral("scriptsList"));
    scripts = new QStandardItemModel(this);
    list->setModel(scripts);
    list->setItemDelegate(new StandartItemDelegatePaintExt(list));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(list);
    // A double click or Return, as the platform activates items.
    connect(list, &QListView::activated, this, &ScriptsView::openScript);
    watcher = new QFileSystemWatcher(this);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &ScriptsView::refresh);
    ScriptViewResources::installMenu(this, QStringLiteral("ScriptsView_menu.xml"));
    refresh();
}

LXLayoutView* ScriptsView::createView(QWidget* parent)
{
    return new ScriptsView(PLUG_Services::getActionManager(), parent, "Python Scripts", {});
}

bool ScriptsView::wantsToolbar() const
{
    return true;
}

// Docks stacked in one column share its height by their hints: a short list.
QSize ScriptsView::sizeHint() const
{
    return {240, 120};
}

QDomElement ScriptsView::toolbarDefinition() const
{
    return ScriptViewResources::toolbarElement(QStringLiteral("ScriptsView_toolbar.xml"));
}

void ScriptsView::refresh()
{
    if (!scripts)
        return;
    const QString selected = selectedScript();
    const PythonScriptsController controller;
    scripts->clear();
    for (const PythonScriptInfo& script : controller.scripts) {
        auto* item = new QStandardItem(script.name);
        item->setData(script.filePath, Qt::UserRole);
        item->setToolTip(QDir::toNativeSeparators(script.filePath));
        // The delegate fills any colour but transparent, the default brush's black included.
        item->setBackground(script.loaded ? loadedColor : QColor(Qt::transparent));
        scripts->appendRow(item);
    }
    scripts->sort(0);
    selectScript(selected);
    watchFolders();
}

void ScriptsView::watchFolders()
{
    if (!watcher->directories().isEmpty())
        watcher->removePaths(watcher->directories());
    if (!QFileInfo(folder()).isDir())
        return;
    QStringList folders{folder()};
    QDirIterator below(folder(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (below.hasNext())
        folders << below.next();
    watcher->addPaths(folders);
}

QString ScriptsView::selectedScript() const
{
    const QModelIndex current = list ? list->currentIndex() : QModelIndex();
    return current.isValid() ? current.data(Qt::UserRole).toString() : QString();
}

void ScriptsView::selectScript(const QString& filePath)
{
    for (int row = 0; row < scripts->rowCount(); ++row) {
        if (scripts->item(row)->data(Qt::UserRole).toString() == filePath)
            list->setCurrentIndex(scripts->index(row, 0));
    }
}

void ScriptsView::openScript()
{
    ScriptEditorView* editor = ScriptEditorView::inLayout();
    if (editor && !selectedScript().isEmpty())
        editor->openFile(selectedScript());
}

void ScriptsView::runScript()
{
    ScriptConsolePort* console = ScriptConsolePort::installed();
    if (!console || selectedScript().isEmpty())
        return;
    ScriptRunCommand::installRunFile();
    console->runCommand(ScriptRunCommand::forFile(selectedScript()));
}

void ScriptsView::loadScript()
{
    const QString filePath = selectedScript();
    SC_SessionContext* session = PLUG_Services::getSessionContext();
    SCP_PythonEngine* engine = session ? session->pythonEngine() : nullptr;
    if (!engine || filePath.isEmpty())
        return;
    const QString name = QFileInfo(filePath).completeBaseName();
    SCP_PythonModule* loaded = engine->module(name);
    const bool reload = loaded && QFileInfo(loaded->fileName()) == QFileInfo(filePath);
    // A failed load leaves its error pending; the engine reports it to the host's messages.
    if (!engine->loadModule(filePath, reload, name))
        engine->reportError();
    refresh();
}

void ScriptsView::showFolder()
{
    const QString filePath = selectedScript();
    QDesktopServices::openUrl(QUrl::fromLocalFile(filePath.isEmpty() ? folder() : QFileInfo(filePath).absolutePath()));
}

void ScriptsView::newScript()
{
    bool accepted = false;
    QString name = QInputDialog::getText(this, tr("New Script"), tr("Name:"), QLineEdit::Normal, QString(), &accepted).trimmed();
    if (!accepted || name.isEmpty())
        return;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        QMessageBox::warning(this, tr("New Script"), tr("A script name cannot hold a folder separator: %1").arg(name));
        return;
    }
    if (!name.endsWith(QLatin1String(".py"), Qt::CaseInsensitive))
        name += QLatin1String(".py");
    QDir().mkpath(folder());
    const QString filePath = QDir(folder()).filePath(name);
    QFile file(filePath);
    // An existing script is opened, never overwritten.
    if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
        QMessageBox::warning(this, tr("New Script"), tr("Cannot create %1: %2").arg(QDir::toNativeSeparators(filePath), file.errorString()));
        return;
    }
    file.close();
    refresh();
    selectScript(QFileInfo(filePath).absoluteFilePath());
    openScript();
}
