#!/usr/bin/env bash
# cuentas-cli.exe under Wine beside the Linux build of the same sources, on the same files:
# first their outputs compared byte for byte for every verb and mode, then their throughput
# timed as whole processes in turn (the goal: Windows at least 0.7 times Linux).
#   bench/cli_windows.sh LINUX_BUILD WINDOWS_BUILD [LINES] [RUNS]
# With RUNS 0 only the outputs are compared (tools/cuentas-dev test does, on fewer lines).
set -euo pipefail
linux="$(cd "${1:?usage: bench/cli_windows.sh LINUX_BUILD WINDOWS_BUILD [LINES] [RUNS]}" && pwd)"
windows="$(cd "${2:?usage: bench/cli_windows.sh LINUX_BUILD WINDOWS_BUILD [LINES] [RUNS]}" && pwd)"
lines="${3:-1000000}"
runs="${4:-5}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(cd "$here/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
register="$linux/data/NomBancos.dbf"
native=("$linux/cli/cuentas-cli")
emulated=("$top/tools/wine-run" "$windows/wine" "$windows/cli/cuentas-cli.exe")

echo "== generating $lines numbers, half of them valid"
/usr/bin/python3 "$here/cli_numbers.py" "$lines" > "$work/numbers.txt"
/usr/bin/python3 "$here/cli_numbers.py" "$lines" --csv > "$work/numbers.csv"
# CR LF line ends, as a Windows program writes them.
sed 's/$/\r/' "$work/numbers.csv" > "$work/numbers-crlf.csv"

echo "== the same output from both"
different=0
compare() { # name input arguments...
  local name="$1" input="$2"
  shift 2
  local status=0
  LANG=C "${native[@]}" "$@" --table "$register" < "$input" > "$work/linux.out" 2>&1 || status=$?
  echo "$status" >> "$work/linux.out"
  status=0
  LANG=C "${emulated[@]}" "$@" --table "$register" < "$input" > "$work/windows.out" 2>&1 ||
    status=$?
  echo "$status" >> "$work/windows.out"
  if cmp -s "$work/linux.out" "$work/windows.out"; then
    echo "same: $name ($(wc -c < "$work/linux.out") bytes)"
  else
    echo "DIFFERENT: $name"
    cmp "$work/linux.out" "$work/windows.out" | head -n 3 || true
    different=1
  fi
}
compare "check" "$work/numbers.txt" check
compare "check --json" "$work/numbers.txt" check --json
compare "check --csv" "$work/numbers.csv" check --csv --column account
compare "check --csv, CR LF" "$work/numbers-crlf.csv" check --csv --column account
compare "iban" "$work/numbers.txt" iban
compare "ccc" "$work/numbers.txt" ccc
compare "format" "$work/numbers.txt" format
compare "bank" /dev/null bank 2100 0049 2038 9999
[ "$different" -eq 0 ] || exit 1
[ "$runs" -gt 0 ] || exit 0

echo "== $runs runs of each, alternating (wall-clock seconds)"
timed() { # log input command...
  local log="$1" input="$2"
  shift 2
  local start end
  start=$(date +%s.%N)
  "$@" < "$input" > /dev/null || true
  end=$(date +%s.%N)
  echo "$start $end" | awk '{print $2 - $1}' >> "$log"
}
for ((i = 0; i < runs; i++)); do
  timed "$work/linux-check" "$work/numbers.txt" "${native[@]}" check --table "$register"
  timed "$work/windows-check" "$work/numbers.txt" "${emulated[@]}" check --table "$register"
  timed "$work/linux-csv" "$work/numbers.csv" "${native[@]}" check --csv --column account \
    --table "$register"
  timed "$work/windows-csv" "$work/numbers.csv" "${emulated[@]}" check --csv --column account \
    --table "$register"
done
/usr/bin/python3 - "$work" "$lines" <<'PY'
import statistics
import sys

work, lines = sys.argv[1], int(sys.argv[2])
failed = False
for task in ("check", "csv"):
    linux = statistics.median(float(l) for l in open(f"{work}/linux-{task}"))
    windows = statistics.median(float(l) for l in open(f"{work}/windows-{task}"))
    ratio = linux / windows
    failed |= ratio < 0.7
    print(f"{task:6} Linux {linux:6.2f} s ({lines / linux:10,.0f}/s)  Windows under Wine "
          f"{windows:6.2f} s ({lines / windows:10,.0f}/s)  Windows/Linux throughput "
          f"{ratio:.2f} (goal 0.7)  {'pass' if ratio >= 0.7 else 'FAIL'}")
sys.exit(1 if failed else 0)
PY
