#!/usr/bin/env bash
# tools/make_example.sh [BUILD_DIR] [OUTPUT]: writes the bundled example lap,
# examples/lap.raf (or OUTPUT), with the generator: one whole lap of the
# generated circuit from the line, with its split times and its car setup,
# driven by "You". The test suite runs it again and compares the bytes, so the
# bundled file is always what today's generator writes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=${2:-examples/lap.raf}
"$build/tools/make_replay" --lap --player=You "$out" 60 1 >/dev/null
