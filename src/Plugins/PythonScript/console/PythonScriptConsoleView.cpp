#include "console/PythonScriptConsoleView.h"

#include "console/PythonScriptConsoleImpl.h"
#include "console/PythonScriptConsoleResources.h"

#include <AC_Manager.h>
#include <AC_Menu.h>
#include <LXLayoutManager.h>
#include <PLUG_Services.h>
#include <PythonQt.h>

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString areaId = QStringLiteral("Python Script Console");
}

PythonScriptConsoleView::PythonScriptConsoleView(AC_Manager* actionManager, QWidget* parent,
                                                 const char* menuIdentity, Qt::WindowFlags flags)
    : LXWidgetLayoutView(actionManager, QStringLiteral("PythonScript"), parent, menuIdentity, flags)
{
    if (!parent)
        return;
    if (PythonQt::self() && PythonQt::self()->initSuccessfully())
        buildConsole();
    else
        showPythonUnavailable();
}

PythonScriptConsoleView::~PythonScriptConsoleView()
{
    delete console;
    console = nullptr;
}

void PythonScriptConsoleView::buildConsole()
{
    PythonQtGILScope lock;
    PythonQtObjectPtr mainModule = PythonQt::self()->getMainModule();
    auto* layout = new QVBoxLayout(this);
    console = new PythonScriptConsoleImpl(this, layout, mainModule);

    if (AC_Manager* actions = PLUG_Services::getActionManager()) {
        QDomDocument document;
        if (PythonScriptConsoleResources::loadResourceDocument(QLatin1String(PythonScriptConsoleResources::menuFileName), document))
            setMenu(actions->createMenu(document.documentElement(), nullptr, nullptr), 0);
    }
    if (LXLayoutManager* layoutManager = PLUG_Services::getLayoutManager()) {
        LXLayoutStorage* storage = layoutManager->layoutStorage();
        if (!storage->getViewToolbarConfig(areaId, true)) {
            const QStringList defaults = PythonScriptConsoleResources::defaultToolbarConfig();
            storage->setViewToolbarConfig(areaId, defaults, true);
            storage->setViewToolbarConfig(areaId, defaults, false);
        }
        QObject::connect(layoutManager, SIGNAL(sceneSaved()), console, SLOT(onSceneSave()));
    }
    mainModule = nullptr;
}

// Without an interpreter there is no console to show; the view says so instead.
void PythonScriptConsoleView::showPythonUnavailable()
{
    const QString reason = PythonQt::self()
        ? PythonQt::self()->initError()
        : QCoreApplication::translate("PythonScriptConsoleView", "the interpreter was not started (see the Python start-up log)");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QCoreApplication::translate("PythonScriptConsoleView", "Python is not available: %1")
                                 .arg(reason.trimmed()),
                             this);
    label->setObjectName(QStringLiteral("pythonUnavailable"));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    layout->addStretch();
}

LXLayoutView* PythonScriptConsoleView::createView(QWidget* parent)
{
    return new PythonScriptConsoleView(PLUG_Services::getActionManager(), parent, "Python Script Console", {});
}

bool PythonScriptConsoleView::wantsToolbar() const
{
    return true;
}

QDomElement PythonScriptConsoleView::toolbarDefinition() const
{
    return PythonScriptConsoleResources::toolbarElement();
}

// Docks stacked in one column share its height by their hints: room for a screenful of output.
QSize PythonScriptConsoleView::sizeHint() const
{
    return {480, 420};
}
