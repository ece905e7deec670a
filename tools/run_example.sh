#!/usr/bin/env bash
# tools/run_example.sh: installs whatever this Debian machine lacks, builds the
# release (the programs and the Python package), and runs both programs on the
# bundled example lap: lap.csv, lap-side.csv and the report page lap.html; and
# the report of three whole generated laps from the line, laps.html, whose
# Laps and corners section lays them over each other.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh example
cmake --preset release
cmake --build --preset release
build/release/app/skidlog examples/lap.raf lap.csv
build/release/app/skidlog /s examples/lap.raf lap-side.csv
build/release/report/skidlog-report -o lap.html examples/lap.raf
mkdir -p build/example-laps
for seed in 1 2 3; do build/release/tools/make_replay --lap "build/example-laps/lap$seed.raf" 60 "$seed"; done
build/release/report/skidlog-report -o laps.html build/example-laps/lap1.raf build/example-laps/lap2.raf \
  build/example-laps/lap3.raf
echo "Wrote lap.csv, lap-side.csv, lap.html and laps.html; the Python package is in build/release/python."
