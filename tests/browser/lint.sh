#!/usr/bin/env bash
# lint.sh: the report page's script and the browser tools under ESLint's
# recommended rules (eslint.config.js), from the project's root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$here/node_modules/.bin/eslint" ] || npm ci --prefix "$here" --no-audit --no-fund >/dev/null
cd "$here/../.."
"$here/node_modules/.bin/eslint" -c "$here/eslint.config.js" --max-warnings 0 \
  report/output/page/report_page.js tests/browser/report_page.mjs tools/page_shot.mjs bench/page_draw.mjs
