#!/usr/bin/env bash
# Line and branch coverage of the engine and the host link reached by a corpus:
#   fuzz/coverage.sh hostlink_frames|program_scan [corpus folder...]
# Without folders, the committed seed corpus of the target is measured.
set -euo pipefail
cd "$(dirname "$0")/.."

cel="$1"
shift
korpusy=("$@")
if [[ ${#korpusy[@]} -eq 0 ]]; then
    korpusy=("fuzz/corpus/$cel")
fi
budowa="${FUZZ_COVERAGE_BUILD:-build-fuzz-coverage}"

cmake -S fuzz -B "$budowa" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPARVOLEN_FUZZ_COVERAGE=ON >/dev/null
cmake --build "$budowa" -j 2 --target "$cel" >/dev/null

profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
LLVM_PROFILE_FILE="$profile/%p.profraw" "$budowa/$cel" -runs=0 "${korpusy[@]}" >/dev/null 2>&1
llvm-profdata merge -sparse "$profile"/*.profraw -o "$profile/razem.profdata"
llvm-cov report "$budowa/$cel" -instr-profile="$profile/razem.profdata" \
    -ignore-filename-regex='/usr/|/fuzz/' engine hostlink
