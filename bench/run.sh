#!/usr/bin/env bash
# Runs the benchmarks of a build directory (configured with -DCUENTAS_BENCH=ON), and times the
# start-up of cuentas, up to its dialog being shown, beside a bare Qt dialog program.
#   bench/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: bench/run.sh BUILD_DIR}" && pwd)"
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

echo "== loading the bank directory (1,000,000 records)"
"$build/bench/table_load_bench" --benchmark_min_time=2
echo "== bank lookup and control digits"
"$build/bench/lookup_bench"

echo "== start-up to dialog shown (offscreen platform), beside a bare Qt dialog"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for layout in bundled large; do
  mkdir -p "$work/$layout/bin" "$work/$layout/tmp"
  cp "$build/app/cuentas" "$work/$layout/bin/cuentas"
done
cp "$build/data/NomBancos.dbf" "$work/bundled/NomBancos.dbf"
# 100,000 records written by the project's own bank-table writer.
"$build/bench/write_bench_table" 100000 "$work/large/NomBancos.dbf"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"
hyperfine --warmup 3 --runs 30 -N \
  -n "bare Qt dialog" "$build/bench/bare_dialog" \
  -n "cuentas, bundled table ($(stat -c %s "$work/bundled/NomBancos.dbf") bytes)" \
     "sh -c 'cd $work/bundled && exec bin/cuentas --exit-when-shown'" \
  -n "cuentas, 100,000 records" "sh -c 'cd $work/large && exec bin/cuentas --exit-when-shown'"

echo "== cuentas-cli beside python-stdnum, 1,000,000 numbers"
"$top/bench/cli.sh" "$build"
