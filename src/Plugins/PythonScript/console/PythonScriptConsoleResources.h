#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QStringList>

// The console's two resource files, read from the "resources" folder beside the plug-in.
namespace PythonScriptConsoleResources {

extern const char* const menuFileName;
extern const char* const toolbarFileName;

// The plug-in folder's "resources" sub-folder (no trailing separator).
QString folder();
// Reads the named resource into document; false when the file does not open.
bool loadResourceDocument(const QString& fileName, QDomDocument& document);
// The toolbar element of the toolbar file; null without an action manager or file.
QDomElement toolbarElement();
// The ids of the toolbar items marked default="true", in document order.
QStringList defaultToolbarConfig();

} // namespace PythonScriptConsoleResources
