#!/usr/bin/env bash
# package_test.sh BUILD_DIR [windows]: makes the release packages of a build into an
# empty folder, unpacks them as a user would and converts the bundled example
# lap with the programs they hold. A Windows build's ZIP runs under Wine.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
# Every picture the README shows.
pictures=$(grep -o 'docs/[A-Za-z0-9_.-]*\.png' "$source/README.md" | sort -u)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

if [ "${2:-}" = windows ]; then
  cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
  zip=$(ls out/skidlog-*-win64.zip)
  mkdir unpacked && python3 -m zipfile -e "$zip" unpacked
  for f in skidlog.exe skidlog-report.exe README.md LICENSE lap.raf skidlog.txt skidlog-report.txt; do [ -f "unpacked/$f" ] || { echo "ZIP lacks $f"; exit 1; }; done
  for p in $pictures; do [ -f "unpacked/$p" ] || { echo "ZIP lacks $p, which the README shows"; exit 1; }; done
  (cd unpacked && WINEDEBUG=-all wine skidlog.exe lap.raf lap.csv 2>/dev/null)
  head -n 1 unpacked/lap.csv | grep -q $'slip angle \\[deg\\], wheel number\r$' || { echo "no CR LF header in the ZIP's output"; exit 1; }
  [ -f unpacked/skidlog-report.exe ] && (cd unpacked && WINEDEBUG=-all wine skidlog-report.exe --json lap.json lap.raf 2>/dev/null) && [ -s unpacked/lap.json ]
  echo "ZIP: $(basename "$zip") converts the example under Wine"
else
  cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
  deb=$(ls out/*.deb)
  ls out/skidlog-*.tar.gz >/dev/null
  dpkg-deb -x "$deb" root
  for m in skidlog skidlog-report; do
    [ -f "root/usr/share/man/man1/$m.1" ] || { echo "the .deb lacks the manual of $m"; exit 1; }
  done
  for p in $pictures; do
    [ -f "root/usr/share/doc/skidlog/$p" ] || { echo "the .deb lacks $p, which the README shows"; exit 1; }
  done
  root/usr/bin/skidlog root/usr/share/doc/skidlog/lap.raf lap.csv 2>/dev/null
  head -n 1 lap.csv | grep -q 'slip angle \[deg\], wheel number$'
  if [ -x root/usr/bin/skidlog-report ]; then
    root/usr/bin/skidlog-report --json lap.json root/usr/share/doc/skidlog/lap.raf 2>/dev/null
    [ -s lap.json ]
  fi
  echo "DEB: $(basename "$deb") converts the example"
fi
