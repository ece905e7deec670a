#!/usr/bin/env bash
# tools/make_screenshots.sh [BUILD_DIR]: the README's screenshots, made as a
# user would make the pages, from the folder of the replays:
#   docs/report.png, docs/report-phone.png  the example lap's report at 1280 and 390 px
#   docs/balance.png                        its Balance section
#   docs/compare.png, docs/compare-phone.png  two groups of generated laps compared,
#                                           the second with rear tyres that grip 5 % more
#   docs/laps.png                           the Laps and corners section of four whole
#                                           generated laps, one slower through a corner
#   docs/summary.png, docs/summary-phone.png  the first screen of two of those laps
#                                           against the other two, at 1280 and 390 px
#   docs/forest.png                         the comparison's differences as a forest plot
#   docs/setups.png                         the first screen of laps of two car setups
#                                           grouped by setup (hybrid tyres, final drive 3)
#   docs/platform.png                       the Platform section of laps at a front share
#                                           of the lateral load transfer of 0.55 against 0.65
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build/release}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -d tests/browser/node_modules/playwright-core ] || npm ci --prefix tests/browser --no-audit --no-fund >/dev/null
cp examples/lap.raf "$work/lap.raf"
for seed in 1 2; do
  "$build/tools/make_replay" "$work/base$seed.raf" 60 "$seed"
  "$build/tools/make_replay" --rear-grip=1.05 "$work/soft$seed.raf" 60 "$((seed + 10))"
done
for seed in 1 2 3; do "$build/tools/make_replay" --lap "$work/lap$seed.raf" 60 "$seed"; done
"$build/tools/make_replay" --lap --slow-corner=5 "$work/slow.raf" 60 4
for seed in 5 6; do
  "$build/tools/make_replay" --lap --tyre-type=6 --final-drive=3 "$work/other$seed.raf" 60 "$seed"
done
for seed in 7 8; do
  "$build/tools/make_replay" --lap --front-roll-share=0.55 "$work/share55-$seed.raf" 60 "$seed"
  "$build/tools/make_replay" --lap --front-roll-share=0.65 "$work/share65-$seed.raf" 60 "$((seed + 10))"
done
cd "$work"
"$build/report/skidlog-report" -o lap.html lap.raf
"$build/report/skidlog-report" -o compare.html --label base base1.raf base2.raf --vs --label soft soft1.raf soft2.raf
shot="$root/tools/page_shot.mjs"
node "$shot" lap.html "$root/docs/report.png" 1280
node "$shot" lap.html "$root/docs/report-phone.png" 390
node "$shot" lap.html "$root/docs/balance.png" 1280 Balance
node "$shot" compare.html "$root/docs/compare.png" 1280
node "$shot" compare.html "$root/docs/compare-phone.png" 390
"$build/report/skidlog-report" -o laps.html lap1.raf lap2.raf lap3.raf slow.raf 2>/dev/null
node "$shot" laps.html "$root/docs/laps.png" 1280 "Laps and corners"
"$build/report/skidlog-report" -o versus.html lap1.raf lap2.raf --vs lap3.raf slow.raf 2>/dev/null
node "$shot" versus.html "$root/docs/summary.png" 1280
node "$shot" versus.html "$root/docs/summary-phone.png" 390
node "$shot" compare.html "$root/docs/forest.png" 1280 Differences
"$build/report/skidlog-report" -o setups.html --by setup lap1.raf lap2.raf other5.raf other6.raf 2>/dev/null
node "$shot" setups.html "$root/docs/setups.png" 1280
"$build/report/skidlog-report" -o platform.html --label "front share 0.55" share55-*.raf \
  --vs --label "front share 0.65" share65-*.raf 2>/dev/null
node "$shot" platform.html "$root/docs/platform.png" 1280 Platform
