#!/usr/bin/env bash
# tools/make_screenshots.sh [BUILD_DIR]: the README's screenshots, docs/report.png
# (1280 px) and docs/report-phone.png (390 px), of the report of the example
# lap, made as a user would make it: from the folder of lap.raf.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build/release}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -d tests/browser/node_modules/playwright-core ] || npm ci --prefix tests/browser --no-audit --no-fund >/dev/null
cp examples/lap.raf "$work/lap.raf"
(cd "$work" && "$build/report/skidlog-report" -o lap.html lap.raf)
node tests/browser/report_page.mjs "$work/lap.html" 20 "$root/docs/report.png"
