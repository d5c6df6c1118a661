// A first host script: reach the session's Python engine, load hello.py and call into it.
// Run it from the repository root:  bellwick --log - --script examples/hello.js

var engine = Host.engine();
if (engine === null)
    throw new Error("no Python engine: is the PythonScript plug-in loaded and Python found?");

var module = engine.loadModule("examples/hello.py");
if (module === null)
    throw new Error("could not load examples/hello.py");

Host.print("Loaded module", module.name(), "from", module.fileName());
Host.print("Functions:", module.functions().map(function (f) { return f.name(); }).join(", "));

Host.print(module.call("greet", ["Bellwick"]));
Host.print("2 + 3 =", module.call("add", [2, 3]));
Host.print("squares:", module.call("squares", [5]).join(" "));

// The same module through a function object, and an expression evaluated in __main__.
var functions = module.functions();
for (var i = 0; i < functions.length; ++i) {
    if (functions[i].name() === "add")
        Host.print("add('a', 'b') =", functions[i].call(["a", "b"]));
}
engine.mainModule().execute("answer = 6 * 7");
Host.print("answer in __main__:", engine.evaluate("answer"));
