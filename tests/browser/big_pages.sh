#!/usr/bin/env bash
# big_pages.sh BUILD_DIR: the largest pages users make, drawn whole in
# headless Chromium (report_page.mjs): 100 whole laps in one group (the 22
# tyre charts, the platform's 6, the laps section's 8 and a time-lost chart
# for each of the 99 laps against the reference) and an hour of driving (the
# 22 tyre charts and the platform's 6).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out="$build/browser/big"
mkdir -p "$out"
[ -d "$here/node_modules/playwright-core" ] || npm ci --prefix "$here" --no-audit --no-fund >/dev/null
for seed in $(seq 1 100); do
  [ -f "$out/lap$seed.raf" ] || "$build/tools/make_replay" --lap "$out/lap$seed.raf" 60 "$seed" >/dev/null
done
"$build/report/skidlog-report" -o "$out/laps.html" --json="$out/laps.json" "$out"/lap*.raf 2>/dev/null
node "$here/report_page.mjs" "$out/laps.html" 135 "$out/laps.png"
[ -f "$out/hour.raf" ] || "$build/tools/make_replay" "$out/hour.raf" 3600 1 >/dev/null
"$build/report/skidlog-report" -o "$out/hour.html" "$out/hour.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/hour.html" 28 "$out/hour.png"
