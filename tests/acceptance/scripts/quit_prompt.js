// Quitting bellwick with an unsaved editor tab: the window asks; Cancel keeps it open, Discard
// lets it close. Any failed check throws, which ends the run with status 1 and the reason.
function check(condition, what) {
    if (!condition)
        throw new Error("quit prompt check failed: " + what);
}
function named(className, name) {
    return Host.widgets(className).filter(function (w) { return w.objectName == name || w.text == name; })[0];
}
// Clicks a button of the message box the next event loop shows.
function answer(buttonText) {
    Host.after(100, function () {
        var button = Host.widgets("QMessageBox").length ? named("QPushButton", buttonText) : null;
        answered.push(buttonText);
        check(button, "a message box with " + buttonText);
        Host.mouseClick(button, 5, 5);
    });
}

var answered = [];
var list = named("QListView", "scriptsList");
check(list, "the Scripts dock's list");
Host.mouseClick(list, 30, 7);
Host.keyClick(list, "Return", "");
var editor = Host.widgets("ScriptCodeEditor")[0];
check(editor, "an editor tab for the script");
Host.keyClicks(editor, "# edited");
var window = Host.widgets("BellwickMainWindow")[0];

// Each request to close (File > Quit, the window manager's close button) asks while the tab has
// unsaved edits; the answer is given inside the message box's own event loop.
answer("Cancel");
check(!window.close(), "Cancel refuses the close");
check(window.visible, "Cancel keeps the window open");
answer("Discard");
check(window.close(), "Discard lets it close");
check(!window.visible, "the window is closed");
check(answered.join() == "Cancel,Discard", "both requests asked");
Host.print("quit prompt checks passed");
