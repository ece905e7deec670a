#!/usr/bin/env bash
# big_pages.sh BUILD_DIR: the largest pages users make, drawn whole in
# headless Chromium (report_page.mjs): 100 whole laps in one group (the 22
# tyre charts, the platform's 6 and the laps section's 8; the laps against
# the reference one table), an hour of driving (the 22 tyre charts and the
# platform's 6), and a league night of thirty drivers of ten laps each, at
# most 8 MB.
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
node "$here/report_page.mjs" "$out/laps.html" 36 "$out/laps.png"
[ -f "$out/hour.raf" ] || "$build/tools/make_replay" "$out/hour.raf" 3600 1 >/dev/null
"$build/report/skidlog-report" -o "$out/hour.html" "$out/hour.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/hour.html" 28 "$out/hour.png"
# Thirty drivers 0.05 % of pace apart, ten laps each.
for d in $(seq 10 39); do
  for k in $(seq 0 9); do
    f="$out/p$d-$k.raf"
    [ -f "$f" ] || echo "--lap --consistency=0.4 --pace=0.$((9999 - 5 * (d - 10))) --player=p$d $f 60 $((100 * d + k))"
  done
done | xargs -r -P "$(nproc)" -L 1 "$build/tools/make_replay" >/dev/null
"$build/report/skidlog-report" --by player -o "$out/session.html" --json="$out/session.json" "$out"/p*-*.raf 2>/dev/null
size=$(stat -c %s "$out/session.html")
[ "$size" -le 8000000 ] || { echo "the session's page is $size bytes, more than 8 MB"; exit 1; }
node "$here/report_page.mjs" "$out/session.html" 57 "$out/session.png"
