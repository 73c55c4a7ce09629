#!/usr/bin/env bash
# Installs what is missing, builds the simulator and starts it from its
# staged installation directory (the help page and the click sound are found
# relative to the current directory, as a desktop launcher would give it).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
build=${PARVOLEN_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DPARVOLEN_BENCH=OFF
cmake --build "$build" --target parvolen
cd "$build/bin"
exec ./parvolen
