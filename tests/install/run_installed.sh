# run_installed PREFIX ARGS...: the installed bellwick with a bare environment, no library path,
# no build folder, no locale (the sanitizers' options pass); a home of its own beside the prefix.
run_installed() {
  local prefix="$1"
  shift
  mkdir -p -m 700 "$prefix.home"
  env -i PATH=/usr/bin:/bin HOME="$prefix.home" XDG_RUNTIME_DIR="$prefix.home" QT_QPA_PLATFORM=offscreen \
    ${ASAN_OPTIONS+"ASAN_OPTIONS=$ASAN_OPTIONS"} ${UBSAN_OPTIONS+"UBSAN_OPTIONS=$UBSAN_OPTIONS"} \
    "$prefix/bin/bellwick" "$@"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
