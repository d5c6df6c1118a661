#pragma once

#include <QDomElement>

class LXWidgetLayoutView;

// The menu and toolbar files of the script views, read from the plug-in's resources folder.
namespace ScriptViewResources {

// Builds the menu of fileName and installs it as view's main menu; nothing when the file or
// the action manager is missing.
void installMenu(LXWidgetLayoutView* view, const QString& fileName);
// The toolbar element of fileName; null when it is missing.
QDomElement toolbarElement(const QString& fileName);

} // namespace ScriptViewResources
