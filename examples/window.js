// Opens the main window, types a line into the first text edit (the Python console's editor when
// the PythonScript plug-in is loaded) and saves a picture of the window:
//   bellwick --window --script examples/window.js
var edit = Host.widgets("QTextEdit")[0];
if (!edit)
    throw new Error("no text edit in this window");

Host.mouseClick(edit, 10, 10);      // focus, as a user's click gives it
Host.keyClicks(edit, "print('typed by a host script')");
Host.keyClick(edit, "Return", "");
Host.processEvents(300);            // queued output and painting

var file = "bellwick-window.png";
Host.print(Host.grab(null, file) ? "wrote " + file : "could not write " + file);
