#!/usr/bin/env bash
# Runs the benchmarks of a build directory (configured with -DCMAKE_BUILD_TYPE=Release and
# -DCUENTAS_BENCH=ON) and prints each goal as a ratio of two sides measured in the same run,
# with pass or fail; then cuentas-cli beside python-stdnum.
#   bench/run.sh BUILD_DIR
# The machine should be quiet: the ratios pair repetitions that ran side by side, which
# tolerates some load, but not a busy machine (see `uptime`).
set -euo pipefail
build="$(cd "${1:?usage: bench/run.sh BUILD_DIR}" && pwd)"
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
repeat=(--benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
        --benchmark_out_format=json)

echo "== loading the bank directory (1,000,000 records) beside one read() of the file"
"$build/bench/table_load_bench" "${repeat[@]}" --benchmark_min_time=0.5 \
  --benchmark_out="$work/load.json" --benchmark_display_aggregates_only=true

echo "== peak memory while loading it"
mkdir -p "$work/million"
"$build/bench/write_bench_table" 1000000 "$work/million/NomBancos.dbf"
for _ in 1 2 3 4 5; do
  "$build/bench/load_memory" "$work/million" >> "$work/memory.txt"
done
rm -rf "$work/million"

echo "== bank lookup and control digits, each beside its plain loop"
"$build/bench/lookup_bench" "${repeat[@]}" --benchmark_out="$work/lookup.json" \
  --benchmark_display_aggregates_only=true

echo "== start-up to dialog shown (offscreen platform), beside a bare Qt dialog"
for layout in bundled large; do
  mkdir -p "$work/$layout/bin" "$work/$layout/tmp"
  cp "$build/app/cuentas" "$work/$layout/bin/cuentas"
done
cp "$build/data/NomBancos.dbf" "$work/bundled/NomBancos.dbf"
# Every code once, 10,000 records, written by the project's own bank-table writer.
"$build/bench/write_bench_table" 10000 "$work/large/NomBancos.dbf"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"
# Many short rounds rather than one long one, so that a busy spell of the machine falls on
# both sides of a round; their CPU times are compared. Each program starts through the same shell, in its table's folder.
for round in $(seq 1 15); do
  hyperfine --warmup 2 --runs 5 -N --style none --export-json "$work/startup-$round.json" \
    -n "bare Qt dialog" "sh -c 'cd $work/bundled && exec $build/bench/bare_dialog'" \
    -n "bundled table ($(stat -c %s "$work/bundled/NomBancos.dbf") bytes)" \
       "sh -c 'cd $work/bundled && exec bin/cuentas --exit-when-shown'" \
    -n "10,000 records" "sh -c 'cd $work/large && exec bin/cuentas --exit-when-shown'" \
    > /dev/null
done

echo "== the goals ($(uptime | sed 's/.*load/load/'))"
goals=0
python3 "$top/bench/goals.py" "$work" || goals=$?

echo "== cuentas-cli beside python-stdnum, 1,000,000 numbers"
"$top/bench/cli.sh" "$build"
exit "$goals"
