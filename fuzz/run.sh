#!/usr/bin/env bash
# fuzz/run.sh [SECONDS=120]: builds the fuzz preset (clang, libFuzzer, ASan,
# UBSan), writes the seed corpus and fuzzes the converter for SECONDS. Exits
# non-zero on any crash, hang, sanitizer report or broken invariant; the
# failing input is left in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
corpus=build/fuzz/corpus
mkdir -p "$corpus" build/fuzz/findings
build/fuzz/fuzz/make_seeds "$corpus"
build/fuzz/fuzz/convert_fuzzer "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix=build/fuzz/findings/ 2>&1 | tail -n 25
