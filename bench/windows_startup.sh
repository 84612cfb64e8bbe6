#!/usr/bin/env bash
# Start-up of cuentas.exe to its dialog shown, beside a bare Win32 dialog of the same template,
# both under the same Wine in the same hyperfine rounds (the goal: at most 1.5 times the bare
# dialog). cuentas.exe runs from a layout with the bundled table and closes its dialog as soon
# as it is shown (--exit-when-shown); the bare dialog closes itself the same way.
#   bench/windows_startup.sh WINDOWS_BUILD [ROUNDS]
# WINDOWS_BUILD is configured with -DCUENTAS_BENCH=ON (for bare_dialog_win32.exe). The runs use
# the build's Wine prefix, whose null graphics driver needs no display; CPU times are compared,
# as bench/run.sh does for the Qt side.
set -euo pipefail
build="$(cd "${1:?usage: bench/windows_startup.sh WINDOWS_BUILD [ROUNDS]}" && pwd)"
rounds="${2:-10}"
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/tmp"
cp "$build/app/cuentas.exe" "$work/bin/cuentas.exe"
cp "$build/bench/bare_dialog_win32.exe" "$work/bin/bare_dialog_win32.exe"
cp "$build/data/NomBancos.dbf" "$work/NomBancos.dbf"
run="$top/tools/wine-run $build/wine"
# The prefix and Wine's server are up before the first round.
$run "$work/bin/bare_dialog_win32.exe"
for round in $(seq 1 "$rounds"); do
  hyperfine --warmup 1 --runs 5 -N --style none --export-json "$work/startup-$round.json" \
    -n "bare Win32 dialog" "sh -c 'cd $work && exec $run bin/bare_dialog_win32.exe'" \
    -n "cuentas.exe, bundled table" "sh -c 'cd $work && exec $run bin/cuentas.exe --exit-when-shown'" \
    > /dev/null
done
python3 - "$work" <<'PY'
import glob, json, os, statistics, sys
work = sys.argv[1]
cpu, wall = {}, {}
for path in sorted(glob.glob(os.path.join(work, "startup-*.json"))):
    for result in json.load(open(path))["results"]:
        cpu.setdefault(result["command"], []).append((result["user"] + result["system"]) * 1e3)
        wall.setdefault(result["command"], []).append(result["median"] * 1e3)
bare, ours = "bare Win32 dialog", "cuentas.exe, bundled table"
ratios = [a / b for a, b in zip(cpu[ours], cpu[bare])]
wall_ratios = [a / b for a, b in zip(wall[ours], wall[bare])]
print(f"{'':28} {'CPU (median of rounds)':>24} {'wall (median)':>14}")
for name in (bare, ours):
    print(f"{name:28} {statistics.median(cpu[name]):21.1f} ms {statistics.median(wall[name]):11.1f} ms")
ratio = statistics.median(ratios)
print(f"cuentas.exe / bare dialog: CPU {ratio:.2f}, wall {statistics.median(wall_ratios):.2f} (goal: at most 1.5)")
print("pass" if ratio <= 1.5 else "FAIL")
sys.exit(0 if ratio <= 1.5 else 1)
PY
