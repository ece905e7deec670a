#!/usr/bin/env bash
# tools/run_tests.sh: installs whatever this Debian machine lacks, then builds
# and runs the whole test suite: the release and sanitizer builds (unit tests,
# packages, the report page in headless Chromium) and the Windows cross build
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v clang++ >/dev/null || need+=(clang)
command -v groff >/dev/null || need+=(groff-base)
command -v node >/dev/null || need+=(nodejs npm)
command -v chromium >/dev/null || need+=(chromium)
[ -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake ] || need+=(libgtest-dev)
[ -f /usr/src/googletest/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/include/eigen3/unsupported/Eigen/NonLinearOptimization ] || need+=(libeigen3-dev)
[ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
command -v wine >/dev/null || need+=(wine wine64)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi
[ -d tests/browser/node_modules/playwright-core ] || npm ci --prefix tests/browser --no-audit --no-fund

cmake --workflow --preset release
cmake --workflow --preset sanitize
cmake --workflow --preset windows
