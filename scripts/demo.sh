#!/usr/bin/env bash
# The main job on the bundled demo data: builds Tarnwick, copies the demo settings into a fresh
# data folder under build/demo, and lists the feeds configured there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" release

data="$root/build/demo/data"
rm -rf "$data" && mkdir -p "$data/plugins"
cp "$root/demo/tarnwick.ini" "$data/plugins/tarnwick.ini"
echo "Demo data folder: $data"
"$root/build/tools/tarnwick-feeds" "$data/plugins/tarnwick.ini"
