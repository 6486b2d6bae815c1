#!/usr/bin/env bash
# The test command: installs what is missing, builds the release and the sanitizer trees,
# and runs every test in both through ctest; then builds the 32-bit Windows tree and runs its
# suites under Wine, the window suites on a display of their own, and compares the demo's
# newsboxes of both systems (TARNWICK_SKIP_WINDOWS=1 leaves that part out).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
status=0
for kind in release sanitize; do
  "$root/scripts/build.sh" "$kind"
  dir="$root/build"; [ "$kind" = sanitize ] && dir="$root/build-sanitize"
  echo "== tests ($kind)"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  (cd "$dir" && ctest --output-on-failure --timeout 600 -j "$(nproc)") || status=1
done

if [ "${TARNWICK_SKIP_WINDOWS:-0}" != 1 ]; then
  started=$SECONDS
  "$root/scripts/install-deps.sh" windows
  "$root/scripts/build.sh" windows
  echo "== tests (windows, under Wine)"
  export WINEPREFIX="$root/build-windows/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p < /dev/null > /dev/null 2>&1 || true  # one Wine server for every test program: ~0.1 s a test, not ~4 s
  wineboot < /dev/null > /dev/null 2>&1 || true  # its own processes, started apart from any test's output
  # One test at a time: the host of every test program publishes itself under the same automation
  # ProgID in the system's running object table, which all programs under one Wine server share.
  (cd "$root/build-windows" && ctest --output-on-failure --timeout 600 -j 1 -LE gui) || status=1
  wineserver -k 2> /dev/null || true
  wineserver -w 2> /dev/null || true
  if [ -n "$(cd "$root/build-windows" && ctest -N -L gui | grep 'Test *#')" ]; then
    echo "== window tests (windows, under Wine in Xvfb)"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-window-tests.sh" "$root/build-windows" || status=1
  fi
  echo "== the demo on both systems"
  "$root/scripts/compare-demo-windows.sh" || status=1
  echo "== windows part: $((SECONDS - started)) s"
fi
exit $status
