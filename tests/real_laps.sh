#!/usr/bin/env bash
# real_laps.sh BUILD_DIR: both programs on the real replays in
# $SKIDLOG_REAL_REPLAYS (default: ../shared/vectors beside the source): each
# replay converted in both layouts and compared with its recorded CSV where
# there is one, and the report written for one driver's laps, a comparison,
# a front-drive pair and a lap sampled at 100 ms. Under the sanitizers this is
# the whole pipeline on real data. Exits 77 (skipped) without the replays.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
real=$(cd "${SKIDLOG_REAL_REPLAYS:-$source/../shared/vectors}" 2>/dev/null && pwd) || {
  echo "no real replays to run"; exit 77; }
[ -f "$real/real-xrgt-southcity.raf" ] || { echo "no real replays at $real"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for raf in "$real"/*.raf; do
  name=$(basename "$raf" .raf)
  for layout in wheel side; do
    args=()
    [ $layout = side ] && args=(/s)
    "$build/app/skidlog" "${args[@]}" "$raf" "$work/$name.$layout.csv" >/dev/null 2>"$work/stderr" || {
      echo "skidlog failed on $name ($layout)"; cat "$work/stderr"; failed=1; continue; }
    want="$real/$name.$layout.csv.gz"
    if [ -f "$want" ] && ! gzip -dc "$want" | cmp -s - "$work/$name.$layout.csv"; then
      echo "the CSV differs: $name ($layout)"
      failed=1
    fi
  done
done
source "$source/tests/real_runs.sh"
cd "$real"
for k in "${!real_runs[@]}"; do
  read -r -a args <<< "${real_runs[$k]}"
  if "$build/report/skidlog-report" -o "$work/page$k.html" --json "$work/report$k.json" "${args[@]}" \
      2>"$work/stderr" && [ -s "$work/page$k.html" ] && [ -s "$work/report$k.json" ]; then
    echo "report written: ${real_runs[$k]}"
  else
    echo "the report failed: ${real_runs[$k]}"
    cat "$work/stderr"
    failed=1
  fi
done
# One driver's laps read as a driver reads his traces: the reference brakes
# for T5 from 1,438 m, pumping the pedal, and is at full throttle from
# 1,547 m while still slowing; lap 8 brakes for T2 from 515 m and dabs
# after; the reference takes T4 flat right after T3, so it is T3's exit.
python3 - "$work/report0.json" <<'PY' || failed=1
import json, sys
track = json.load(open(sys.argv[1]))["tracks"][0]
corners = {c["name"]: c for c in track["corners"]}
def lap(corner, name):
    return next(l for l in corners[corner]["laps"] if l["file"].endswith(name))
checks = [(lap("T5", "southcity.raf")["brake_m"], 1438.0), (lap("T5", "southcity.raf")["full_throttle_m"], 1547.1),
          (lap("T2", "lap8.raf")["brake_m"], 514.7)]
bad = [(got, want) for got, want in checks if got is None or abs(got - want) > 3.0]
if bad or "T4" in corners or corners["T3"].get("sweepers") != ["T4"]:
    print("real laps' actions or corners read otherwise:", bad, sorted(corners), corners["T3"].get("sweepers"))
    sys.exit(1)
PY
exit $failed
