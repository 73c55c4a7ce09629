#!/usr/bin/env bash
# Builds the benchmarks in a release build folder of their own and runs every
# one of them, then prints one short table. Figures are only comparable on an
# otherwise idle machine.
#   bench/run.sh                 build in build-bench/ and run everything
#   PARVOLEN_BENCH_BUILD_DIR=... another build folder
#   PARVOLEN_BENCH_SCAN_SECONDS  length of each scan-period run (default 10)
#   PARVOLEN_BENCH_STARTS        start-up runs (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PARVOLEN_BENCH_BUILD_DIR:-build-bench}
sekundy=${PARVOLEN_BENCH_SCAN_SECONDS:-10}
starty=${PARVOLEN_BENCH_STARTS:-7}
wyniki=$(mktemp -d)
trap 'rm -rf "$wyniki"' EXIT

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVOLEN_BENCH=ON >/dev/null
cmake --build "$build" -j "${PARVOLEN_BENCH_JOBS:-2}" --target \
    parvolen parvolen_engine_bench parvolen_timer_accuracy parvolen_serial_bench \
    hostlink_bench parvolen_panel_bench parvolen_okres_skanu parvolen_download_bench

export QT_QPA_PLATFORM=offscreen
gbench() { # program, name of the result file
    echo "== $1" >&2
    "$build/bench/$1" --benchmark_out="$wyniki/$2.json" --benchmark_out_format=json >&2
}
gbench engine/parvolen_engine_bench przebieg
gbench serial/parvolen_serial_bench pty
gbench hostlink/hostlink_bench monitor
gbench okres/parvolen_download_bench pobieranie
gbench panel/parvolen_panel_bench lampy
echo "== scan period" >&2
"$build/bench/okres/parvolen_okres_skanu" "$sekundy" relay | tee "$wyniki/okres-relay.txt" >&2
"$build/bench/okres/parvolen_okres_skanu" "$sekundy" mixed | tee "$wyniki/okres-mixed.txt" >&2
echo "== timer accuracy" >&2
"$build/bench/engine/parvolen_timer_accuracy" | tee "$wyniki/timer.txt" >&2
echo "== start-up" >&2
bench/okres/start.sh "$build/bin" "$starty" | tee "$wyniki/start.txt" >&2

python3 - "$wyniki" <<'PY'
import json, pathlib, re, sys
d = pathlib.Path(sys.argv[1])
rows = []
def gb(plik, nazwa, opis):
    dane = json.loads((d / f"{plik}.json").read_text())
    for b in dane["benchmarks"]:
        if b.get("run_name", b["name"]) != nazwa and not b["name"].startswith(nazwa):
            continue
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        if b.get("run_type") == "iteration" and any(
                x.get("run_type") == "aggregate" for x in dane["benchmarks"]):
            continue
        mediana = b.get("median_us")
        if mediana is not None:
            rows.append((opis, f"median {mediana:.1f} us"))
        else:
            rows.append((opis, f"{b['real_time']:.2f} {b['time_unit']}"))
        return
    rows.append((opis, "missing"))
gb("przebieg", "PrzebiegStykowy", "scan pass, 255-word relay program")
gb("przebieg", "PrzebiegMieszany", "scan pass, 255-word mixed program")
gb("pty", "RoundTrip", "pty round trip (port component)")
gb("monitor", "OdczytMonitora16Pozycji", "16-item monitor read, end to end")
gb("monitor", "OdczytMonitora16PozycjiRfc2217", "16-item monitor read over RFC 2217")
gb("pobieranie", "Pobieranie128Slow", "download of 128 words, end to end")
gb("lampy", "BM_OdswiezenieBezZmian", "output refresh, no change")
gb("lampy", "BM_OdswiezenieZeZmiana", "output refresh, with a change")
for rodzaj in ("relay", "mixed"):
    t = (d / f"okres-{rodzaj}.txt").read_text()
    m = re.search(r"mean ([\d.]+) ms, p99 ([\d.]+) ms.*worker CPU ([\d.]+) %", t)
    rows.append((f"scan period, {rodzaj} (mean / p99 / CPU)",
                 f"{m.group(1)} / {m.group(2)} ms / {m.group(3)} %" if m else "missing"))
t = (d / "timer.txt").read_text()
m = re.search(r"median ([\d.]+) s", t)
rows.append(("TIMER #0030 (3.0 s), median", f"{m.group(1)} s" if m else "missing"))
t = (d / "start.txt").read_text()
m = re.search(r"median (\d+) ms", t)
rows.append(("start-up to the main window, median", f"{m.group(1)} ms" if m else "missing"))
w = max(len(r[0]) for r in rows)
print()
print(f"{'benchmark'.ljust(w)}  figure")
print(f"{'-' * w}  {'-' * 24}")
for opis, liczba in rows:
    print(f"{opis.ljust(w)}  {liczba}")
sys.exit(1 if any(r[1] == "missing" for r in rows) else 0)
PY
