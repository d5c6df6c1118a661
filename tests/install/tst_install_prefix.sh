#!/usr/bin/env bash
# tst_install_prefix.sh CMAKE BUILD PREFIX VERSION PYTHON_LIBDIR: installs BUILD into a fresh PREFIX
# and runs the installed host from there.
set -euo pipefail
cmake="$1" build="$2" prefix="$3" version="$4" python_libdir="${5:-}"
source "$(dirname "$0")/run_installed.sh"

rm -rf "$prefix" "$prefix.home"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

for file in bin/bellwick lib/libbellwick-host.so lib/libQtScriptCompat.so lib/libPythonQtCompat.so \
    lib/bellwick/plugins/PythonScript/libPythonScript.so \
    lib/bellwick/plugins/PythonScript/resources/layoutViewMenu.xml \
    lib/bellwick/plugins/PythonScript/resources/PythonScriptConsoleView_toolbar.xml \
    share/bellwick/translations/bellwick_fr.qm share/bellwick/translations/PythonScript_fr.qm \
    share/bellwick/examples/hello.js share/bellwick/examples/plugin/CMakeLists.txt \
    include/bellwick/PLUG_Services.h include/bellwick/QScriptEngine include/bellwick/PythonQt.h \
    lib/cmake/Bellwick/BellwickConfig.cmake; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
# Every run path is relative to the file that carries it, but for a Python outside the system's
# folders, which stays where it is.
while IFS= read -r file; do
  paths="$(readelf -d "$file" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')"
  for path in ${paths//:/ }; do
    [[ "$path" == '$ORIGIN'* || "$path" == "$python_libdir" ]] || fail "$file has the run path $path"
  done
done < <(find "$prefix/bin" "$prefix/lib" -type f \( -name bellwick -o -name '*.so' \))

[ "$(run_installed "$prefix" --version)" = "bellwick $version" ] || fail "--version: $(run_installed "$prefix" --version)"

out="$(run_installed "$prefix" -c 'print(1)' 2>"$prefix.home/err")" || fail "-c 'print(1)' failed: $(cat "$prefix.home/err")"
[ "$out" = "1" ] || fail "-c 'print(1)' printed: $out"

# The installed examples run where they are installed, with the installed plug-in's translation.
out="$(cd "$prefix/share/bellwick" && run_installed "$prefix" --language fr --log - --script examples/hello.js 2>"$prefix.home/err")" ||
  fail "examples/hello.js failed: $(cat "$prefix.home/err")"
grep -qx 'Hello, Bellwick, from Python!' <<<"$out" || fail "examples/hello.js printed: $out"
french="\"text\":\"Module d'extension de script Python initialisé.\\n\""
grep -qF "$french" "$prefix.home/err" ||
  fail "the French start-up log is missing: $(cat "$prefix.home/err")"
