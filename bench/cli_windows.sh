#!/usr/bin/env bash
# cuentas-cli.exe under Wine beside the Linux build of the same sources, on the same files:
# first their outputs compared byte for byte for every verb and mode, then their throughput
# timed as whole processes in turn. Throughput is what a process does beyond starting: each
# side's run on an empty input is taken off its time (Wine alone takes about a tenth of a
# second to start a process, longer than the Linux build checks a million numbers); the goal:
# Windows at least 0.7 times Linux.
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
  timed "$work/linux-start" /dev/null "${native[@]}" check --table "$register"
  timed "$work/windows-start" /dev/null "${emulated[@]}" check --table "$register"
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


def median(name):
    return statistics.median(float(l) for l in open(f"{work}/{name}"))


start = {side: median(f"{side}-start") for side in ("linux", "windows")}
print(f"start  Linux {start['linux']:6.3f} s  Windows under Wine {start['windows']:6.3f} s "
      "(empty input)")
failed = False
for task in ("check", "csv"):
    linux, windows = median(f"linux-{task}"), median(f"windows-{task}")
    # Beyond starting; a run no longer than its start leaves the throughput unmeasurable.
    busy_linux = max(linux - start["linux"], 1e-3)
    busy_windows = max(windows - start["windows"], 1e-3)
    ratio = busy_linux / busy_windows
    failed |= ratio < 0.7
    print(f"{task:6} Linux {linux:6.2f} s ({lines / busy_linux:10,.0f}/s)  Windows under Wine "
          f"{windows:6.2f} s ({lines / busy_windows:10,.0f}/s)  whole processes "
          f"{linux / windows:.2f}  Windows/Linux throughput {ratio:.2f} (goal 0.7)  "
          f"{'pass' if ratio >= 0.7 else 'FAIL'}")
sys.exit(1 if failed else 0)
PY
