// Drives the Python console of a --window run as a user would: keys, the toolbar, the clipboard.
// Any failed check throws, which ends the run with status 1 and the reason.
function check(condition, what) {
    if (!condition)
        throw new Error("console check failed: " + what + "\n--- console ---\n" + editor.plainText);
}

var editor = Host.widgets("PythonScriptConsoleTextEdit")[0];
if (!editor)
    throw new Error("no Python console in the window");
Host.mouseClick(editor, 10, 10);

function submit(line) {
    Host.keyClicks(editor, line);
    Host.keyClick(editor, "Return", "");
}
function endsWith(text) {
    var all = editor.plainText;
    return all.lastIndexOf(text) == all.length - text.length;
}

check(editor.plainText.indexOf("Python Loaded: \n\nPython 3.") == 0, "the banner names the interpreter");
check(Host.actions("Python Script Console").indexOf("interrupt") >= 0, "the dock offers Interrupt");

submit("print(6 * 7)");
check(endsWith(">>> print(6 * 7)\n42\n>>> "), "output, then a fresh prompt");
check(Host.textColorAt(editor, editor.plainText.lastIndexOf("42")) == "#50c14b", "output in the dark output colour");

// A block: the continuation line comes indented, an empty line ends it.
submit("for i in range(2):");
submit("print(i * 10)");
submit("");
check(endsWith("0\n10\n>>> "), "the block ran once, as a whole");

// The Interrupt tool button reaches a loop that never ends; Ctrl+C does too.
var interrupt = Host.widgets("QToolButton").filter(function (button) { return button.text == "Interrupt"; })[0];
check(interrupt, "an Interrupt tool button");
Host.after(300, function () { Host.mouseClick(interrupt, 10, 10); });
submit("while True: pass");
check(endsWith("KeyboardInterrupt\n>>> "), "the tool button interrupted the loop");
Host.after(300, function () { Host.keyClick(editor, "C", "Control"); });
submit("while True: pass");
check(endsWith("KeyboardInterrupt\n>>> "), "Ctrl+C interrupted the loop");

// input() reads what the user types into the console.
Host.after(300, function () {
    Host.keyClicks(editor, "Ada");
    Host.keyClick(editor, "Return", "");
});
submit("name = input('Name? ')");
submit("print('hi', name)");
check(endsWith("Name? Ada\n>>> print('hi', name)\nhi Ada\n>>> "), "input() answered from the console");

// A pasted block runs as a file would; copying leaves the prompts out.
Host.setClipboardText("a = 1\r\nb = 2\r\nprint(a + b)\r\n");
Host.keyClick(editor, "V", "Control");
check(endsWith("3\n>>> "), "the pasted lines ran as one piece");
Host.keyClick(editor, "Up", "");
check(endsWith(">>> print(a + b)"), "the history holds the pasted lines");
var text = editor.plainText;
var start = text.lastIndexOf(">>> print('hi', name)");
Host.setTextCursor(editor, start + ">>> print('hi', name)\nhi Ada\n>>> ".length, start);
check(Host.triggerAction("Python Script Console", "copy"), "the console's Copy action");
check(Host.clipboardText() == "print('hi', name)\nhi Ada\n", "copied without prompts: " + Host.clipboardText());

Host.print("console checks passed");
