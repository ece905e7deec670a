#!/usr/bin/env bash
# tools/make_packages.sh: builds and tests the Linux and Windows release
# builds, then writes every release package into dist/: the Windows ZIP, the
# Debian package and the Linux tarball.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset release
cmake --workflow --preset windows
mkdir -p dist
for build in build/release build/windows; do
  cpack --config "$build/CPackConfig.cmake" -B "$build/cpack" >/dev/null
  find "$build/cpack" -maxdepth 1 \( -name '*.zip' -o -name '*.deb' -o -name '*.tar.gz' \) -exec cp {} dist/ \;
done
ls -l dist
