#!/usr/bin/env bash
# lint.sh: the report page's script and the browser tools under ESLint's
# recommended rules (eslint.config.js), from the project's root. The page's
# script is linted as the page holds it: its parts (in the order parts.txt
# gives) inside one function; a problem's line is named in its part.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$here/node_modules/.bin/eslint" ] || npm ci --prefix "$here" --no-audit --no-fund >/dev/null
cd "$here/../.."
parts=report/output/page/script
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bundle="$work/report_page.js"
{ printf "(function () {\n'use strict';\n"; while read -r part; do cat "$parts/$part"; done < "$parts/parts.txt"; printf "})();\n"; } > "$bundle"
status=0
"$here/node_modules/.bin/eslint" -c "$here/eslint.config.js" --max-warnings 0 tests/browser/report_page.mjs \
  tools/page_shot.mjs bench/page_draw.mjs || status=1
# The bundle's problems, each line named in the part that holds it.
if ! "$here/node_modules/.bin/eslint" -c "$here/eslint.config.js" --max-warnings 0 --format json --stdin --stdin-filename report/output/page/script/report_page.js < "$bundle" > "$work/out"; then
  status=1
  node - "$work/out" "$parts" <<'JS'
const fs = require('fs');
const [out, dir] = process.argv.slice(2);
let line = 3;
const parts = fs.readFileSync(dir + '/parts.txt', 'utf8').split('\n').filter(Boolean).map((name) => {
  const lines = fs.readFileSync(dir + '/' + name, 'utf8').split('\n').length - 1;
  const part = {name, start: line};
  line += lines;
  return part;
});
for (const m of JSON.parse(fs.readFileSync(out, 'utf8'))[0].messages) {
  const p = parts.filter((x) => x.start <= m.line).pop();
  console.log(`${dir}/${p ? p.name : '?'}:${p ? m.line - p.start + 1 : m.line}:${m.column}: ${m.message} (${m.ruleId})`);
}
JS
fi
exit $status
