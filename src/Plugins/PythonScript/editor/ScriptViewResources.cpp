#include "editor/ScriptViewResources.h"

#include <AC_Manager.h>
#include <AC_Menu.h>
#include <LXWidgetLayoutView.h>
#include <PLUG_Services.h>

#include <QDomDocument>
#include <QFile>

namespace {

// A file of the "resources" folder beside the plug-in; an empty document when it does not open.
QDomDocument resourceDocument(const QString& fileName)
{
    QDomDocument document;
    QFile file(PLUG_Services::getPluginPath(QStringLiteral("PythonScript")) + QStringLiteral("/resources/") + fileName);
    if (file.open(QIODevice::ReadOnly))
        document.setContent(&file);
    return document;
}

} // namespace

void ScriptViewResources::installMenu(LXWidgetLayoutView* view, const QString& fileName)
{
    AC_Manager* actions = PLUG_Services::getActionManager();
    const QDomDocument document = resourceDocument(fileName);
    if (actions && !document.isNull())
        view->setMenu(actions->createMenu(document.documentElement(), nullptr, nullptr), 0);
}

QDomElement ScriptViewResources::toolbarElement(const QString& fileName)
{
    return resourceDocument(fileName).documentElement().firstChildElement();
}
