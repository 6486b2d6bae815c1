#!/usr/bin/env bash
# The main job on the bundled demo data: builds Tarnwick and its host, serves the demo feeds
# (RSS 2.0, RSS 1.0, Atom 1.0, Atom 0.3 and a broken document) on 127.0.0.1, sets up a demo data
# folder with those feeds (kept between runs in build/demo/data), checks every feed through the
# host and the plug-in, and shows each newsbox with its counts and first headlines. A second run
# delivers nothing new and says so.
#   bash scripts/demo.sh           on Linux, the tree build/
#   bash scripts/demo.sh windows   the 32-bit Windows host and module under Wine, the tree build-windows/
#   DEMO_DATA=<folder> picks another data folder (the comparison of the two systems uses fresh ones).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
system="${1:-linux}"

"$root/scripts/install-deps.sh" "$([ "$system" = windows ] && echo windows || true)"
if [ "$system" = windows ]; then
  "$root/scripts/build.sh" windows
  tree="$root/build-windows"
  module="$tree/src/plugin/tarnwick.dll"
  export WINEPREFIX="$tree/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineserver -p || true  # one Wine server for all the runs below, instead of one per program (fails when one runs)
  trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true' EXIT
  run_host() { wine "$tree/host/tarnwick-host.exe" "$@"; }
  # Wine sees this machine's files on drive Z:.
  windows_path() { echo "Z:$1"; }
else
  "$root/scripts/build.sh" release
  tree="$root/build"
  module="$tree/src/plugin/libtarnwick.so"
  run_host() { "$tree/host/tarnwick-host" "$@"; }
  windows_path() { echo "$1"; }
fi

host=run_host
data="${DEMO_DATA:-$tree/demo/data}"
settings="$data/plugins/tarnwick.ini"
mkdir -p "$data/plugins"
cp "$module" "$data/plugins/"
# The module's windows, in a library of their own beside it where the tree builds them so.
if [ -d "$(dirname "$module")/tarnwick" ]; then
  rm -rf "$data/plugins/tarnwick"
  cp -R "$(dirname "$module")/tarnwick" "$data/plugins/tarnwick"
fi
rm -rf "$data/plugins/help"
cp -R "$tree/src/plugin/help" "$data/plugins/help" 2>/dev/null || true  # the help pages lie beside the module
data="$(windows_path "$data")"

port_file="$(mktemp)"
python3 "$root/demo/serve_feeds.py" "$root/demo/feeds" "$port_file" 8765 &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$port_file"; [ "$system" != windows ] || wineserver -k 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
port="$(cat "$port_file")"
echo "Demo feeds served at http://127.0.0.1:$port/"

if [ ! -f "$settings" ]; then
  sed -e "s|@PORT@|$port|g" -e "s|@DATA@|$data|g" "$root/demo/tarnwick.ini" > "$settings"
  echo "New demo data folder: $data"
else
  sed -i -e "s|http://127.0.0.1:[0-9]*/|http://127.0.0.1:$port/|" "$settings"
  echo "Demo data folder from an earlier run: $data"
fi
newsboxes=("Tarnwick News" "Planet" "Atom Weekly" "Old Atom" "Broken")
for box in "${newsboxes[@]}"; do
  "$host" --data-folder "$data" create-mailbox "$box" > /dev/null 2>&1 || true
done

echo
"$host" --data-folder "$data" plugins
echo
report="$(mktemp)"
set +e
"$host" --data-folder "$data" check | tee "$report"
status=${PIPESTATUS[0]}
set -e
echo
if grep -q "^Feeds: .*, new articles: 0$" "$report"; then
  echo "Nothing new since the last run: every article of the demo feeds is delivered already."
fi
rm -f "$report"
if [ $status -ne 0 ]; then
  echo "Some feeds could not be checked (the demo's broken feed is meant to fail); see the report above."
fi

echo "Newsboxes (path, id, messages, unread):"
for box in "${newsboxes[@]}"; do
  "$host" --data-folder "$data" mailboxes | grep -F "$box.mbx" || true
  "$host" --data-folder "$data" messages "$box" | head -n 3 | cut -f1,3 | sed 's/^/    /'
done
