#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh            release build in build/
#   scripts/build.sh sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
kind="${1:-release}"

case "$kind" in
  release)  dir="$root/build";          flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) dir="$root/build-sanitize"; flags=(-DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON) ;;
  *) echo "usage: scripts/build.sh [release|sanitize]" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$dir" -G Ninja "${flags[@]}" > /dev/null
cmake --build "$dir" --parallel "$(nproc)"
