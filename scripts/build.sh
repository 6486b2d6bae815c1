#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh            release build in build/
#   scripts/build.sh sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
#   scripts/build.sh windows    the 32-bit Windows tree in build-windows/ (mingw-w64; its tests run
#                               under Wine); googletest, libcurl and wxMSW from scripts/windows-deps.sh,
#                               headless when wxMSW has not been built there
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
kind="${1:-release}"

case "$kind" in
  release)  dir="$root/build";          flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) dir="$root/build-sanitize"; flags=(-DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON) ;;
  windows)  dir="$root/build-windows"
            deps="$("$root/scripts/windows-deps.sh")"
            export TARNWICK_WINDOWS_DEPS="$deps" PKG_CONFIG_LIBDIR="$deps/lib/pkgconfig"
            # The build lists each test program's tests by running it under Wine, in the tree's own
            # prefix, through one Wine server for the whole build.
            export WINEPREFIX="$dir/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
            mkdir -p "$WINEPREFIX"
            wineserver -p < /dev/null > /dev/null 2>&1 || true  # (fails when one runs already)
            # The session's own processes start now, not under the first test program, whose output
            # the build reads: they would hold it open until they end.
            wineboot < /dev/null > /dev/null 2>&1 || true
            trap 'wineserver -k 2> /dev/null || true; wineserver -w 2> /dev/null || true' EXIT
            # The windows when wxMSW is in the cache (scripts/windows-deps.sh wx), else headless.
            ui=OFF; [ -f "$deps/wx.stamp" ] && ui=ON
            flags=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" -DTARNWICK_UI=$ui) ;;
  *) echo "usage: scripts/build.sh [release|sanitize|windows]" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$dir" -G Ninja "${flags[@]}" > /dev/null
cmake --build "$dir" --parallel "$(nproc)"
