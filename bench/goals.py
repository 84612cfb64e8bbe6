#!/usr/bin/env python3
"""Prints each speed and memory goal as a ratio of two sides measured in the same run.

    bench/goals.py WORK_DIR

WORK_DIR holds what bench/run.sh measured: load.json and lookup.json (Google Benchmark, with
repetitions), startup-*.json (hyperfine rounds, whose CPU times are compared) and memory.txt (lines of "file-bytes
peak-growth-bytes entries" from load_memory). A repetition of one side is paired with the same
repetition of the other, which ran beside it, and the median of the paired ratios is compared
with the goal. The exit status is 1 when a goal is missed.
"""
import glob
import json
import os
import statistics
import sys


def repetitions(path):
    """Real time of each repetition of each benchmark, in milliseconds, by name."""
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    runs = {}
    with open(path) as f:
        for bench in json.load(f)["benchmarks"]:
            if bench.get("run_type") != "iteration":
                continue
            runs.setdefault(bench["run_name"], []).append(
                bench["real_time"] * scale[bench["time_unit"]])
    return runs


def paired(runs, ours, baseline):
    ratios = [a / b for a, b in zip(runs[ours], runs[baseline])]
    return statistics.median(runs[ours]), statistics.median(runs[baseline]), \
        statistics.median(ratios)


def startup(work):
    """Per hyperfine round, the mean CPU time (user and system) of each command's runs, in
    milliseconds, by command: the work the process does, whatever else the machine does."""
    rounds = {}
    for path in sorted(glob.glob(os.path.join(work, "startup-*.json"))):
        with open(path) as f:
            for result in json.load(f)["results"]:
                cpu = (result["user"] + result["system"]) * 1e3
                rounds.setdefault(result["command"], []).append(cpu)
    return rounds


def milliseconds(value):
    if value >= 1:
        return f"{value:.4g} ms"
    return f"{value * 1e3:.3g} µs" if value >= 0.001 else f"{value * 1e6:.3g} ns"


def main():
    work = sys.argv[1]
    rows = []  # goal, ours, baseline, ratio, limit, how

    load = repetitions(os.path.join(work, "load.json"))
    ours, base, ratio = paired(load, "BM_LoadBankDirectory", "BM_ReadFileOnce")
    rows.append(("Loading 1,000,000 records", milliseconds(ours), milliseconds(base), ratio, 3.0,
                 "loadBankDirectory / one read() of the file"))

    with open(os.path.join(work, "memory.txt")) as f:
        samples = [tuple(int(n) for n in line.split()) for line in f if line.strip()]
    file_bytes = samples[0][0]
    peak = statistics.median(s[1] for s in samples)
    rows.append(("Peak memory, 1,000,000 records", f"{peak / 2**20:.0f} MiB",
                 f"{file_bytes / 2**20:.0f} MiB", peak / file_bytes, 2.5,
                 "peak resident growth while loading / file size"))

    lookup = repetitions(os.path.join(work, "lookup.json"))
    ours, base, ratio = paired(lookup, "BM_BuscaBancoNotFound", "BM_PlainLoopNotFound")
    rows.append(("BUSCABANCO, 10,000 entries, code absent", milliseconds(ours),
                 milliseconds(base), ratio, 2.0, "mainDialogBuscaBanco / loop of == over pairs"))
    ours, base, ratio = paired(lookup, "BM_CalculaDcDigits", "BM_DirectDigitLoop")
    rows.append(("CALCULADC's digits", milliseconds(ours), milliseconds(base), ratio, 2.0,
                 "controlDigits on the three fields / direct loop over the digits"))

    rounds = startup(work)
    bare = rounds.pop("bare Qt dialog")
    for command, medians in rounds.items():
        ratios = [a / b for a, b in zip(medians, bare)]
        limit = 1.20 if "10,000" in command else 1.15
        rows.append((f"Start-up, {command}", milliseconds(statistics.median(medians)),
                     milliseconds(statistics.median(bare)), statistics.median(ratios), limit,
                     "CPU time to dialog shown / a bare Qt dialog, median of hyperfine rounds"))

    # Shown for information: CALCULADC with its three edits read through the object model.
    ours, base, ratio = paired(lookup, "BM_CalculaDcInTheDialog", "BM_DirectDigitLoop")
    rows.append(("CALCULADC in the dialog (edits read)", milliseconds(ours), milliseconds(base),
                 ratio, None, "mainDialogCalculaDc / direct loop over the digits"))

    missed = False
    print(f"{'goal':46} {'ours':>10} {'baseline':>10} {'ratio':>6} {'limit':>6}  result")
    for goal, ours_text, base_text, ratio, limit, how in rows:
        if limit is None:
            verdict, limit_text = "(information)", ""
        else:
            passed = ratio <= limit
            missed |= not passed
            verdict, limit_text = ("pass" if passed else "FAIL"), f"{limit:.2f}"
        print(f"{goal:46} {ours_text:>10} {base_text:>10} {ratio:6.2f} {limit_text:>6}  "
              f"{verdict}   [{how}]")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
