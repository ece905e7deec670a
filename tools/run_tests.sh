#!/usr/bin/env bash
# tools/run_tests.sh: installs whatever this Debian machine lacks, then builds
# and runs the whole test suite: the release build runs every test (units,
# studies, packages, the report page in headless Chromium, the Python package,
# the docs' figures), the sanitizer build the unit, hostile-input and pipeline
# tests, and the Windows cross build under Wine the byte-identity, file-name
# and same-JSON tests (tests/README.md). Each phase's wall time is printed as
# it ends and again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/phases.sh
phase install tools/install_packages.sh tests
for preset in release sanitize windows; do
  phase "$preset configure" cmake --preset "$preset"
  phase "$preset build" cmake --build --preset "$preset"
  phase "$preset tests" ctest --preset "$preset"
done
