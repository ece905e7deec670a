#!/usr/bin/env bash
# tools/run_example.sh: installs whatever this Debian machine lacks, builds the
# release (the programs and the Python package), and runs both programs on the
# bundled example lap: lap.csv, lap-side.csv and the report page lap.html.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh example
cmake --preset release
cmake --build --preset release
build/release/app/skidlog examples/lap.raf lap.csv
build/release/app/skidlog /s examples/lap.raf lap-side.csv
build/release/report/skidlog-report -o lap.html examples/lap.raf
echo "Wrote lap.csv, lap-side.csv and lap.html; the Python package is in build/release/python."
