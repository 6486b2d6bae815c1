#!/usr/bin/env bash
# Checks the demo feeds on Linux and, through the 32-bit Windows host and module, under Wine, each
# into a fresh data folder, and compares the delivered newsboxes byte for byte, apart from what
# differs by nature: the time on each separator line, the Downloaded header, the Date of an undated
# item (its download time, written without a zone), and the port the feeds were served on. Exit
# status 0 when they are the same.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for system in linux windows; do
  DEMO_DATA="$work/$system" bash "$root/scripts/demo.sh" "$system" > "$work/$system.log" 2>&1 || true
done

normalised() {
  sed -E -e 's/^From \?\?\?@\?\?\? .*/From ???@??? (time)\r/' -e 's/^Downloaded: .*/Downloaded: (time)\r/' \
    -e 's/^Date: [A-Z][a-z]{2}, [0-9]{1,2} [A-Z][a-z]{2} [0-9]{4} [0-9:]{8}\r$/Date: (download time)\r/' \
    -e 's/127\.0\.0\.1:[0-9]+/127.0.0.1:(port)/g' "$1"
}

status=0
count=0
for mailbox in "$work"/linux/*.mbx; do
  name="$(basename "$mailbox")"
  [ -s "$mailbox" ] || continue
  count=$((count + $(grep -c '^From ???@??? ' "$mailbox")))
  if ! cmp -s <(normalised "$mailbox") <(normalised "$work/windows/$name"); then
    echo "differs: $name"
    diff <(normalised "$mailbox") <(normalised "$work/windows/$name") | head -20
    status=1
  fi
done
[ "$count" -gt 0 ] || { echo "no message delivered on Linux"; cat "$work/linux.log"; exit 1; }
[ $status -eq 0 ] && echo "same messages on both systems: $count"
exit $status
