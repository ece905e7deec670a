#!/usr/bin/env bash
# tools/run_tests.sh: installs whatever this Debian machine lacks, then builds
# and runs the whole test suite: the release and sanitizer builds (unit tests,
# packages, the report page in headless Chromium, the Python package) and the
# Windows cross build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh tests
cmake --workflow --preset release
cmake --workflow --preset sanitize
cmake --workflow --preset windows
