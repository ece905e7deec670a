#!/usr/bin/env bash
# same_json.sh LINUX_BUILD WINDOWS_REPORT: the report's JSON written by the
# Windows build (under Wine) and by the Linux build of the same source must be
# the same bytes, line ends aside: one group of laps, a comparison of groups,
# one lap against the others, and a tyre report alone. On the real replays in
# $SKIDLOG_REAL_REPLAYS (default: ../shared/vectors beside the source, where
# there is one) and always on the bundled example and generated laps.
# Exits 77 (skipped) without a Linux build to compare with.
set -euo pipefail
linux=$(cd "$1" 2>/dev/null && pwd) || { echo "no Linux build at $1 to compare with"; exit 77; }
windows=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
source=$(cd "$(dirname "$0")/.." && pwd)
[ -x "$linux/report/skidlog-report" ] && [ -x "$linux/tools/make_replay" ] || {
  echo "no Linux build at $linux to compare with"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$source/examples/lap.raf" example.raf
for seed in 1 2 3; do "$linux/tools/make_replay" --lap "gen$seed.raf" 60 "$seed" >/dev/null 2>&1; done
"$linux/tools/make_replay" --lap --slow-corner=5 genslow.raf 60 4 >/dev/null 2>&1
runs=("example.raf" "gen1.raf gen2.raf --vs gen3.raf genslow.raf")
real=${SKIDLOG_REAL_REPLAYS:-$source/../shared/vectors}
if [ -f "$real/real-xrgt-southcity.raf" ]; then
  cp "$real"/real-*.raf .
  source "$source/tests/real_runs.sh"
  runs+=("${real_runs[@]}")
else
  echo "no real replays at $real: generated laps only"
fi
failed=0
for k in "${!runs[@]}"; do
  read -r -a args <<< "${runs[$k]}"
  "$linux/report/skidlog-report" --json "linux$k.json" "${args[@]}" 2>/dev/null
  WINEDEBUG=-all wine "$windows" --json "windows$k.json" "${args[@]}" 2>/dev/null
  tr -d '\r' < "windows$k.json" > "windows$k.lf.json"
  if cmp -s "linux$k.json" "windows$k.lf.json"; then
    echo "same JSON: ${runs[$k]}"
  else
    echo "the JSON differs: ${runs[$k]}"
    diff <(tr ',' '\n' < "linux$k.json") <(tr ',' '\n' < "windows$k.lf.json") | head -n 12
    failed=1
  fi
done
exit $failed
