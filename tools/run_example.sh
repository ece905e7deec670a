#!/usr/bin/env bash
# tools/run_example.sh: installs whatever this Debian machine lacks, builds the
# release (the programs and the Python package), and runs both programs on the
# bundled example lap, examples/lap.raf ("You", one whole lap from the line):
#   lap.csv, lap-side.csv  its tyre data in the two layouts
#   lap.html               the report page: your lap against two laps of a
#                          friend 2 % faster (generated here), with the laps
#                          and corners, where the time goes and the findings,
#                          the fitted tyres, balance, setup and platform
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh example
cmake --preset release
cmake --build --preset release
build/release/app/skidlog examples/lap.raf lap.csv
build/release/app/skidlog /s examples/lap.raf lap-side.csv
mkdir -p build/example
for seed in 2 3; do
  build/release/tools/make_replay --lap --pace=1.02 --player=Friend "build/example/friend$seed.raf" 60 "$seed" >/dev/null
done
build/release/report/skidlog-report -o lap.html --label=you examples/lap.raf \
  --vs --label=friend build/example/friend2.raf build/example/friend3.raf
echo "Wrote lap.csv, lap-side.csv and lap.html; the programs are in build/release/app and"
echo "build/release/report, the Python package in build/release/python."
