#!/usr/bin/env bash
# tools/install_packages.sh example|tests: installs with apt-get (and npm, for
# the browser test) what this Debian machine lacks to build and run the
# example (the programs and the Python package), or to build and run every
# test suite. Installs nothing when all is there.
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:?usage: tools/install_packages.sh example|tests}

need=()
# A command that may come from elsewhere than Debian (node, say).
command_from() { command -v "$1" >/dev/null || need+=("${@:2}"); }
packages() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q " installed$" || need+=("$p")
  done
}

command_from cmake cmake
command_from ninja ninja-build
command_from g++ g++
packages libgtest-dev libeigen3-dev nlohmann-json3-dev pybind11-dev python3-dev python3-numpy python3-pandas \
  python3-setuptools python3-venv
if [ "$what" = tests ]; then
  command_from clang++ clang
  command_from groff groff-base
  command_from node nodejs npm
  command_from chromium chromium
  command_from x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
  command_from wine wine wine64
  packages googletest python3-pytest
  ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
fi

if [ ${#need[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq "${need[@]}"
fi
if [ "$what" = tests ] && [ ! -d tests/browser/node_modules/playwright-core ]; then
  npm ci --prefix tests/browser --no-audit --no-fund
fi
