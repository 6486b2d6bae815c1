#!/usr/bin/env bash
# Runs the window suites (ctest label "gui") of the Windows tree given, under Wine on the display
# of the caller (scripts/test.sh starts Xvfb for it). Wine runs in a prefix of its own, booted on
# that display, with a virtual desktop, so windows have title bars and frames as on Windows.
#   scripts/wine-window-tests.sh BUILD-WINDOWS-DIR [ctest arguments...]
set -euo pipefail
dir="$1"; shift
export WINEPREFIX="$dir/wine-prefix-windows" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineserver -p < /dev/null > /dev/null 2>&1 || true  # one server for every test program (see scripts/test.sh)
trap 'wineserver -k 2> /dev/null || true; wineserver -w 2> /dev/null || true' EXIT
wineboot < /dev/null > /dev/null 2>&1 || true
# A desktop of its own: Wine draws the windows' frames on it (Xvfb has no window manager).
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f < /dev/null > /dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f < /dev/null > /dev/null 2>&1 || true
# One test at a time: they share the desktop, the keyboard and the running object table.
cd "$dir" && ctest --output-on-failure --timeout 600 -j 1 -L gui "$@"
