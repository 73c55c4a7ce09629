#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# PARVOLEN_WERROR=ON makes warnings errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
build=${PARVOLEN_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DPARVOLEN_WERROR="${PARVOLEN_WERROR:-OFF}" ${PARVOLEN_CMAKE_ARGS:-}
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure ${PARVOLEN_CTEST_ARGS:-}
