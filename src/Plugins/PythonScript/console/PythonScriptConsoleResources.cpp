#include "console/PythonScriptConsoleResources.h"

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
    QStringList ids;
    const QDomElement toolbar = toolbarElement();
    for (QDomNode node = toolbar.firstChild(); !node.isNull(); node = node.nextSibling()) {
        const QDomElement item = node.toElement();
        const QString id = item.attribute(QStringLiteral("id"));
        if (!id.isEmpty() && item.attribute(QStringLiteral("default")) == QLatin1String("true"))
            ids.append(id);
    }
    return ids;
}

} // namespace PythonScriptConsoleResources
