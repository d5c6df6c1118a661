// Loads a script as a module from the Scripts dock, opens another in the editor, runs it with
// F5, types a command into the console and saves a picture of the window:
//   bellwick --window --special-folder examples --script examples/script_editor.js
var list = Host.widgets("QListView").filter(function (w) { return w.objectName == "scriptsList"; })[0];
if (!list)
    throw new Error("no Scripts dock in this window");
// The Messages dock (the window's first) makes room for the plug-in's docks.
Host.mouseClick(Host.widgets("QAbstractButton").filter(function (w) { return w.objectName == "qt_dockwidget_closebutton"; })[0], 4, 4);

Host.mouseClick(list, 30, 21);                    // rectangles
Host.triggerAction("Python Scripts", "loadScript");
Host.mouseClick(list, 30, 7);                     // fibonacci
Host.keyClick(list, "Return", "");
var editor = Host.widgets("ScriptCodeEditor")[0];
Host.keyClick(editor, "F5", "");

var console = Host.widgets("PythonScriptConsoleTextEdit")[0];
Host.mouseClick(console, 10, 10);
Host.keyClicks(console, "import rectangles; rectangles.area(3, 4)");
Host.keyClick(console, "Return", "");
Host.keyClicks(console, "for n in range(3): print(n * 'ab')  # typed, not run yet");
Host.processEvents(300);
Host.print(Host.grab(null, "docs/script-editor.png") ? "wrote docs/script-editor.png" : "could not write docs/script-editor.png");
