#!/usr/bin/env bash
# Runs the window suites (ctest label "gui") of the Windows tree given, under Wine on the display
# of the caller (scripts/test.sh starts Xvfb for it). Wine runs in a prefix of its own, booted on
# that display, with a virtual desktop, so windows have title bars and frames as on Windows.
#   scripts/wine-window-tests.sh BUILD-WINDOWS-DIR [ctest arguments...]
set -euo pipefail
dir="$1"; shift
export WINEPREFIX="$dir/wine-prefix-windows" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
start_session() {
  wineserver -p < /dev/null > /dev/null 2>&1 || true  # one server for every test program (see scripts/test.sh)
  wineboot < /dev/null > /dev/null 2>&1 || true
}
end_session() {
  wineserver -k 2> /dev/null || true
  wineserver -w 2> /dev/null || true
}
trap end_session EXIT
start_session
# A desktop of its own, on which Wine draws the windows' frames (Xvfb has no window manager). The
# desktop is made when the session starts: a session started before the setting starts again.
desktops='HKCU\Software\Wine\Explorer\Desktops'
if ! wine reg query "$desktops" /v Default < /dev/null > /dev/null 2>&1; then
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f < /dev/null > /dev/null 2>&1
  wine reg add "$desktops" /v Default /d 1280x1024 /f < /dev/null > /dev/null 2>&1
  end_session
  start_session
fi
# Left out for now, each failing under Wine only (they pass on Linux):
# - a Shift+click made with simulated input does not extend a list's selection here (the selection
#   stays on the row clicked last), which these tests start from;
# - these end at their time limit or fail while a popup menu, a nested dialog or a validation
#   runs, for reasons not yet found.
known_wine_failures='MainWindowTest\.DownloadShowsTheRunAndStop|MainWindowTest\.TwoSelectedFeedsDisableEditAndDelete'
known_wine_failures+='|SpecialMenuWindowsTest\.CachedFeedsComeFirst|NewsboardWindowTest\.ARightClickBelowTheRows'
known_wine_failures+='|MainWindowTest\.StopWhileABigFeedIsStaged|MainWindowKeysTest\.ARightDoubleClickEditsAFeed'
known_wine_failures+='|MainWindowFeedListTest\.ImportFillsBothLists|FeedPropertiesWindowTest\.ValidateReportsAGood'
known_wine_failures+='|FeedPropertiesWindowTest\.EditThenCancelLeavesTheFile'
# - these pass in one run and fail in another here (an Escape or a click that comes too early);
known_wine_failures+='|FeedPropertiesWindowTest\.AddingAFeedWritesItsNineKeys|FeedPropertiesWindowTest\.DownloadsFromAServer'
# - the end-to-end test through the real module in the host's window passes when run on its own
#   under Wine, but in this script's session the keys typed for one field of Feed Properties arrive
#   after the next field has the focus (seen: the alias typed into the address), the script of the
#   test stalls, and its program, ended at its time limit, leaves ctest waiting on its output.
known_wine_failures+='|RealModuleTest\.'
# A test of the windows ends well within this under Wine; one that hangs should not hold the run.
export TARNWICK_GUI_TEST_SECONDS=45
# One test at a time: they share the desktop, the keyboard and the running object table. A test
# that fails is run once more: under Wine on a loaded machine, simulated input now and then arrives
# before the window it is meant for is ready (a test that fails twice fails the run).
cd "$dir" && ctest --output-on-failure --timeout 600 -j 1 -L gui -E "$known_wine_failures" --repeat until-pass:2 "$@"
