// Loads a Python file as a module, calls its functions, and lets Python call back into script.
// Run: bellwick --script examples/pythonmanager.js
var folder = "examples";
var shapes = PythonManager.createPyObject(folder + "/shapes.py");

Host.print("area(2) =", shapes.py.area(2));
Host.print(shapes.py.describe("triangle", 3));

// Python calls back into script through a wrapped function.
function notify(what, value) {
    Host.print("script notified:", what, "=", value);
}
shapes.setObject("notify", PythonManager.wrapFunction(notify));
Host.print("report_to_script returned", shapes.py.report_to_script([1, 2, 3, 4]));

// A script object published on the shared holder: Python changes flow back to script.
var settings = { scale: 1.5, label: function () { return "scale is now " + this.scale; } };
PythonManager.addToGlobalJsObject("settings", settings);
Host.print(Host.engine().evaluate("js.settings.label.call()"));
Host.engine().mainModule().execute("js.settings.scale = 6");
Host.print("settings.scale in script:", settings.scale);
