// Types a few statements into the Python console and saves a picture of the window:
//   bellwick --window --script examples/console.js
var editor = Host.widgets("PythonScriptConsoleTextEdit")[0];
if (!editor)
    throw new Error("no Python console in this window");

function type(line) {
    Host.keyClicks(editor, line);
    Host.keyClick(editor, "Return", "");
}

type("import math");
type("for r in (1, 2, 3):");
type("print(r, round(math.pi * r * r, 2))");
type("");                       // the pre-filled indentation ends the block
type("1 / 0");
Host.keyClicks(editor, "math.sq");
Host.processEvents(200);
Host.print(Host.grab(null, "docs/console.png") ? "wrote docs/console.png" : "could not write docs/console.png");
