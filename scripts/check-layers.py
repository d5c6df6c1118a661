#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer above its own.

Layers inside the plug-in, lowest first: python, engine, then console and bridge (siblings that
do not include each other), then editor (the script views over the console's scripts list), then
plugin. Between libraries: qtscript and pythonqt know
nothing of the host or of each other, the host knows neither pythonqt nor the plug-in.
Usage: check-layers.py [--graph] [REPOSITORY_ROOT]
--graph prints which plug-in folders include which, the picture docs/architecture.md shows.
"""
import pathlib
import re
import sys

PLUGIN = pathlib.Path("src/Plugins/PythonScript")
# Rank of each plug-in folder; a file may include its own folder and folders of lower rank.
PLUGIN_RANKS = {"python": 0, "engine": 1, "bridge": 2, "console": 2, "editor": 3, "plugin": 4}
# The libraries whose public headers another library may not include.
LIBRARY_HEADERS = {"host": "host/include", "pythonqt": "pythonqt/include", "qtscript": "qtscript/include"}
FORBIDDEN_LIBRARIES = {
    "qtscript": {"host", "pythonqt"},
    "pythonqt": {"host", "qtscript"},
    "host": {"pythonqt"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
SOURCES = (".cpp", ".h")


def sources(folder):
    return sorted(p for p in folder.rglob("*") if p.suffix in SOURCES and p.is_file())


def plugin_violations(root):
    for path in sources(root / PLUGIN):
        layer = path.relative_to(root / PLUGIN).parts[0]
        if layer not in PLUGIN_RANKS:
            continue
        for _, header in INCLUDE.findall(path.read_text(errors="replace")):
            target = header.split("/")[0]
            if target == layer or target not in PLUGIN_RANKS:
                continue
            if PLUGIN_RANKS[target] >= PLUGIN_RANKS[layer]:
                yield f"{path.relative_to(root)}: {layer}/ includes {header} (layer {target}/ is not below it)"


def plugin_graph(root):
    edges = {layer: set() for layer in PLUGIN_RANKS}
    for path in sources(root / PLUGIN):
        layer = path.relative_to(root / PLUGIN).parts[0]
        if layer in edges:
            for _, header in INCLUDE.findall(path.read_text(errors="replace")):
                target = header.split("/")[0]
                if target in PLUGIN_RANKS and target != layer:
                    edges[layer].add(target)
    for layer in sorted(edges, key=lambda name: -PLUGIN_RANKS[name]):
        targets = sorted(edges[layer], key=lambda name: -PLUGIN_RANKS[name])
        print(f"{layer} ──► {', '.join(targets) if targets else '(none)'}")


def library_violations(root):
    headers = {lib: {p.name for p in sources(root / folder)} for lib, folder in LIBRARY_HEADERS.items()}
    for lib, forbidden in FORBIDDEN_LIBRARIES.items():
        # host/app is the application, which may use everything.
        files = [p for p in sources(root / lib) if not (lib == "host" and "app" in p.relative_to(root / lib).parts)]
        for path in files:
            for _, header in INCLUDE.findall(path.read_text(errors="replace")):
                for other in forbidden:
                    if header in headers[other]:
                        yield f"{path.relative_to(root)}: {lib} includes {header} of {other}"


def main():
    args = sys.argv[1:]
    graph = "--graph" in args
    args = [arg for arg in args if arg != "--graph"]
    root = pathlib.Path(args[0] if args else pathlib.Path(__file__).resolve().parent.parent)
    if graph:
        plugin_graph(root)
        return 0
    problems = list(plugin_violations(root)) + list(library_violations(root))
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the layer order", file=sys.stderr)
        return 1
    print("Layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
