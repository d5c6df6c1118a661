#include "console/PythonScriptConsoleResources.h"

#include <LXToolbarService.h>
#include <PLUG_Services.h>

#include <QFile>

namespace PythonScriptConsoleResources {

const char* const menuFileName = "layoutViewMenu.xml";
const char* const toolbarFileName = "PythonScriptConsoleView_toolbar.xml";

QString folder()
{
    return PLUG_Services::getPluginPath(QStringLiteral("PythonScript")) + QLatin1String("/resources");
}

bool loadResourceDocument(const QString& fileName, QDomDocument& document)
{
    QFile file(folder() + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    document.setContent(&file); // an unparsable file leaves the document empty
    file.close();
    return true;
}

QDomElement toolbarElement()
{
    QDomDocument document;
    if (!PLUG_Services::getActionManager() || !loadResourceDocument(QLatin1String(toolbarFileName), document))
        return QDomElement();
    return document.documentElement().firstChildElement();
}

QStringList defaultToolbarConfig()
{
    return LXToolbarService::defaultItems(toolbarElement());
}

} // namespace PythonScriptConsoleResources
