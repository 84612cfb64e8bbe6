#!/usr/bin/env bash
# cuentas-cli beside python-stdnum (Debian's python3-stdnum), whole processes on the same
# generated files in the same run, and peak memory for 1 and 10 times as many lines.
#   bench/cli.sh BUILD_DIR [LINES] [RUNS]
# BUILD_DIR holds a Release build with cli/cuentas-cli and data/NomBancos.dbf.
set -euo pipefail
build="$(cd "${1:?usage: bench/cli.sh BUILD_DIR [LINES] [RUNS]}" && pwd)"
lines="${2:-1000000}"
runs="${3:-5}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="$build/cli/cuentas-cli"
register="$build/data/NomBancos.dbf"
python=/usr/bin/python3
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "== generating $lines numbers, half of them valid"
"$python" "$here/cli_numbers.py" "$lines" > "$work/numbers.txt"
"$python" "$here/cli_numbers.py" "$lines" --csv > "$work/numbers.csv"

# One line per run: elapsed seconds, user and system CPU seconds, peak resident kilobytes.
timed() { # log input command...
  local log="$1" input="$2"
  shift 2
  /usr/bin/time -f "%e %U %S %M" -a -o "$log" "$@" < "$input" > /dev/null || true
}

echo "== $runs runs of each, alternating"
for ((i = 0; i < runs; i++)); do
  timed "$work/cli-check" "$work/numbers.txt" "$cli" check --table "$register"
  timed "$work/py-check" "$work/numbers.txt" "$python" "$here/stdnum_check.py"
  timed "$work/cli-csv" "$work/numbers.csv" \
    "$cli" check --csv --column account --table "$register"
  timed "$work/py-csv" "$work/numbers.csv" "$python" "$here/stdnum_csv.py" "$register"
done

echo "== peak memory, $lines and $((10 * lines)) lines"
for ((i = 0; i < 10; i++)); do cat "$work/numbers.txt"; done > "$work/numbers10.txt"
{ head -n 1 "$work/numbers.csv"; for ((i = 0; i < 10; i++)); do tail -n +2 "$work/numbers.csv"; done; } \
  > "$work/numbers10.csv"
timed "$work/mem-check-10" "$work/numbers10.txt" "$cli" check --table "$register"
timed "$work/mem-csv-10" "$work/numbers10.csv" "$cli" check --csv --column account \
  --table "$register"

"$python" - "$work" "$lines" <<'PY'
import statistics
import sys

work, lines = sys.argv[1], int(sys.argv[2])


def runs(name):
    with open(f'{work}/{name}') as log:
        # time adds "Command exited with non-zero status 1" for the invalid numbers.
        return [tuple(map(float, line.split())) for line in log if line[:1].isdigit()]


def summary(name):
    rows = runs(name)
    wall = statistics.median(r[0] for r in rows)
    cpu = statistics.median(r[1] + r[2] for r in rows)
    return wall, cpu, max(r[3] for r in rows)


print(f'{"":34} {"wall s":>8} {"CPU s":>8} {"lines/s (CPU)":>15} {"peak RSS":>10}')
for label, name in [('stdnum, check', 'py-check'), ('cuentas-cli check', 'cli-check'),
                    ('stdnum, CSV + IBAN + entity', 'py-csv'),
                    ('cuentas-cli check --csv', 'cli-csv')]:
    wall, cpu, rss = summary(name)
    print(f'{label:34} {wall:8.3f} {cpu:8.3f} {lines / cpu:15,.0f} {rss / 1024:8.1f} MB')
for what, ours, theirs in [('check', 'cli-check', 'py-check'), ('CSV', 'cli-csv', 'py-csv')]:
    o, t = summary(ours), summary(theirs)
    print(f'{what}: {t[1] / o[1]:.0f} times stdnum by CPU time, {t[0] / o[0]:.0f} times by wall time')
for what, one, ten in [('check', 'cli-check', 'mem-check-10'), ('CSV', 'cli-csv', 'mem-csv-10')]:
    print(f'peak memory, {what}: {summary(one)[2] / 1024:.1f} MB for {lines:,} lines, '
          f'{summary(ten)[2] / 1024:.1f} MB for {10 * lines:,}')
PY

echo "== --column NAME beside --column N on a header of 100,000 columns"
"$python" - "$work/wide.csv" <<'PY'
import sys
columns = 100000
with open(sys.argv[1], 'w') as out:
    out.write(','.join(f'c{i}' for i in range(1, columns)) + ',account\n')
    row = ','.join(str(i % 10) for i in range(1, columns))
    for i in range(20):
        out.write(row + (',21000418450200051332\n' if i % 2 else ',21000418460200051332\n'))
PY
# Milliseconds each: hyperfine times them in one round, with many runs.
hyperfine --shell=bash --warmup 3 --runs 30 --export-json "$work/wide.json" \
  "$cli check --csv --column account --table $register < $work/wide.csv > /dev/null || true" \
  "$cli check --csv --column 100000 --table $register < $work/wide.csv > /dev/null || true" \
  > /dev/null
"$python" - "$work/wide.json" <<'PY'
import json
import sys
name, position = (r['median'] for r in json.load(open(sys.argv[1]))['results'])
ratio = name / position
print(f'by name {1000 * name:.1f} ms, by position {1000 * position:.1f} ms: ratio {ratio:.2f} '
      f'(goal 2): {"pass" if ratio <= 2 else "fail"}')
PY

echo "== the cross-check: every visible typo of 10,000 random valid IBANs"
"$python" "$here/cli_candidates.py" "$cli" "$register" 10000 || true
