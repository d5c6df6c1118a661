// Docks the PyQt6 tool and the matplotlib plot of examples/qt_tools.py from the console, moves the
// slider and saves a picture of the window:
//   xvfb-run bellwick --site-packages --window --script examples/qt_tools.js
var editor = Host.widgets("PythonScriptConsoleTextEdit")[0];
if (!editor)
    throw new Error("no Python console in this window");

function type(line) {
    Host.keyClicks(editor, line);
    Host.keyClick(editor, "Return", "");
}

type("exec(open('examples/qt_tools.py').read())");
type("tool.slider.setValue(5)");
type("print([dock.windowTitle() for dock in window.findChildren(QtWidgets.QDockWidget)])");
Host.processEvents(300);
Host.print(Host.grab(null, "docs/qt_tools.png") ? "wrote docs/qt_tools.png" : "could not write docs/qt_tools.png");
