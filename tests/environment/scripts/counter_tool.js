// Runs the counter tool from the console and clicks its button as a user would. Set before this
// file: toolFile (the tool's path) and withMatplotlib.
function check(condition, what) {
    if (!condition)
        throw new Error("qt tool check failed: " + what + "\n--- console ---\n" + editor.plainText);
}

var editor = Host.widgets("PythonScriptConsoleTextEdit")[0];
check(editor, "a Python console");
Host.mouseClick(editor, 10, 10);

function submit(line) {
    Host.keyClicks(editor, line);
    Host.keyClick(editor, "Return", "");
}
function said(text) {
    return editor.plainText.indexOf(text) >= 0;
}

submit("exec(open('" + toolFile + "').read())");
check(said("the host's application: True QApplication"), "PyQt6 sees the host's application");
check(said("one application: True"), "a script's QApplication(argv) is the host's");
check(said("docked: True PythonTool:Counter"), "the tool is a dock of the main window");
check(said("in the Window menu: True"), "the dock has a Window-menu entry");
check(said("round trip: True"), "the main window goes to the bridge and back");

// A user's click, with the console idle: the slot runs, and its output goes to the host's log.
var button = Host.widgets("QPushButton").filter(function (w) { return w.objectName == "countButton"; })[0];
check(button, "the tool's button");
Host.mouseClick(button, 5, 5);
Host.processEvents(100);
submit("print('count is', counter.clicks)");
check(said("count is 1"), "the button's slot ran once");

if (withMatplotlib) {
    submit("plot()");
    check(said("figure shown: True FigureCanvasQTAgg"), "plt.show() showed a Qt figure and returned");
    // Ctrl+W in the figure closes it, as matplotlib's keys say; closing frees it.
    var canvas = Host.widgets("FigureCanvasQTAgg")[0];
    check(canvas, "the figure's canvas");
    Host.keyClick(canvas, "W", "Control");
    Host.processEvents(100);
    submit("import matplotlib.pyplot as plt; print('figures left:', len(plt.get_fignums()))");
    check(said("figures left: 0"), "closing the figure freed it");
    submit("plot()"); // left open: the host exits with it
}
Host.print("qt tool checks passed");
