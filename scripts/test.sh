#!/usr/bin/env bash
# The test command: installs what is missing, builds the release and the sanitizer trees,
# and runs every test in both through ctest.
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
exit $status
