#!/usr/bin/env bash
# Builds the fuzz targets with clang, then for each target replays its seed
# corpus and fuzzes it for the given number of seconds (default 60). New corpus
# entries and crash artifacts go to a temporary folder, never into the repo.
#   fuzz/run.sh [seconds]
# The build folder is build-fuzz (FUZZ_BUILD overrides it); FUZZ_WORK keeps the
# working folder instead of a fresh temporary one.
set -euo pipefail
cd "$(dirname "$0")/.."

sekundy="${1:-60}"
budowa="${FUZZ_BUILD:-build-fuzz}"

cmake -S fuzz -B "$budowa" -G Ninja -DCMAKE_CXX_COMPILER=clang++
cmake --build "$budowa" -j 2

if [[ -n "${FUZZ_WORK:-}" ]]; then
    praca="$FUZZ_WORK"
    mkdir -p "$praca"
else
    praca="$(mktemp -d)"
    trap 'rm -rf "$praca"' EXIT
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

# Target and its -max_len: a whole download of 128 words or a monitor read of
# 128 items fits with room to spare; a program table is at most 256 words of
# a header byte and four characters, after three leading bytes; a client's
# whole opening negotiation and a few frames fit in 1 KiB.
for wpis in hostlink_frames:4096 program_scan:1283 telnet_comport:1024; do
    cel="${wpis%%:*}"
    dlugosc="${wpis##*:}"
    korpus="$praca/$cel/corpus"
    artefakty="$praca/$cel/artifacts/"
    mkdir -p "$korpus" "$artefakty"

    echo "== $cel: replaying fuzz/corpus/$cel"
    "$budowa/$cel" -runs=0 -max_len="$dlugosc" -artifact_prefix="$artefakty" "fuzz/corpus/$cel"

    echo "== $cel: fuzzing for $sekundy s"
    "$budowa/$cel" -max_total_time="$sekundy" -max_len="$dlugosc" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$artefakty" -print_final_stats=1 "$korpus" "fuzz/corpus/$cel"
done
