#!/usr/bin/env bash
# run.sh BUILD_DIR: makes a report page of a generated lap whose player and
# track names hold markup, one of the example lap, and one comparing two groups
# of generated laps, and opens each in headless Chromium (report_page.mjs).
# The screenshots land in BUILD_DIR/browser.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out="$build/browser"
mkdir -p "$out"
[ -d "$here/node_modules/playwright-core" ] || npm ci --prefix "$here" --no-audit --no-fund >/dev/null
"$build/tools/make_replay" "$out/hostile.raf" 120 3
player='</script><svg onload=title=1>'
track='<b>Kyoto</b> & "Ring"'
python3 - "$out/hostile.raf" "$player" "$track" <<'PY'
import sys
path, player, track = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
data = bytearray(open(path, 'rb').read())
data[32:64] = player.ljust(32, b'\0')
data[96:128] = track.ljust(32, b'\0')
open(path, 'wb').write(data)
PY
"$build/report/skidlog-report" -o "$out/hostile.html" "$out/hostile.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/hostile.html" 28 "$out/hostile.png" "$player" "$track"
# The bundled example, one whole lap: the tyre charts and the laps section's 8.
"$build/report/skidlog-report" -o "$out/example.html" "$here/../../examples/lap.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/example.html" 36 "$out/example.png"
# Whole laps from the line with their split times, in two groups (one lap
# slower through a corner): where the time goes, the laps and corners
# section's track map, time delta, speed, brake, throttle, steering and gear,
# understeer by phase in slow and fast corners,
# before the 21 charts of a comparison.
for seed in 1 2 3; do "$build/tools/make_replay" --lap "$out/lap$seed.raf" 60 "$seed"; done
"$build/tools/make_replay" --lap --slow-corner=5 "$out/slow.raf" 60 4
"$build/report/skidlog-report" -o "$out/laps.html" --json="$out/laps.json" "$out/lap1.raf" "$out/lap2.raf" --vs "$out/lap3.raf" "$out/slow.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/laps.html" 30 "$out/laps.png"
# One lap against one lap: its lap and corner differences, without intervals,
# in the measured differences' table, not the forest.
"$build/report/skidlog-report" -o "$out/one.html" "$out/lap1.raf" --vs "$out/lap2.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/one.html" 30 "$out/one.png"
# One group of two whole laps and a partial copy of a third (a third of its
# blocks): the summary counts it as partial, and its lap is drawn as far as it
# goes: the 22 tyre charts, the 6 of the platform, the 8 of the laps section
# and one time-lost chart per lap against the reference.
python3 - "$out/lap3.raf" "$out/part.raf" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
blocks = (len(data) - 1024) // 192
open(sys.argv[2], 'wb').write(data[:1024 + 192 * (blocks // 3)])
PY
"$build/report/skidlog-report" -o "$out/partial.html" --json="$out/partial.json" "$out/lap1.raf" "$out/lap2.raf" "$out/part.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/partial.html" 38 "$out/partial.png"
# Two groups of two laps each, the second with rear tyres that grip 5 % more;
# no split times, so no laps: 2 axle characteristics and the handling
# diagram, the platform's 6 (roll, load transfer, a damper per wheel), 4 axle
# and 8 wheel charts.
for seed in 1 2; do
  "$build/tools/make_replay" "$out/base$seed.raf" 60 "$seed"
  "$build/tools/make_replay" --rear-grip=1.05 "$out/soft$seed.raf" 60 "$((seed + 10))"
done
"$build/report/skidlog-report" -o "$out/compare.html" --label base "$out/base1.raf" "$out/base2.raf" \
  --vs --label "$track" "$out/soft1.raf" "$out/soft2.raf" 2>/dev/null
node "$here/report_page.mjs" "$out/compare.html" 21 "$out/compare.png" "$track"
