#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# PARVOLEN_WERROR=ON makes warnings errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
build=${PARVOLEN_BUILD_DIR:-build}
# Extra arguments, split at white space as they are typed.
read -ra cmake_args <<<"${PARVOLEN_CMAKE_ARGS:-}"
read -ra ctest_args <<<"${PARVOLEN_CTEST_ARGS:-}"
cmake -S . -B "$build" -G Ninja -DPARVOLEN_WERROR="${PARVOLEN_WERROR:-OFF}" "${cmake_args[@]}"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure "${ctest_args[@]}"
