#!/usr/bin/python3
"""Compares what our parser reads from each valid fixture with what python3-dbfread reads
(raw bytes, no decoding): the same fields, and the same records, live and deleted, in order.

usage: differential_check.py DBF_DUMP FIXTURE...   (exit 77: python3-dbfread is missing)
"""

import os
import shlex
import subprocess
import sys

# The program that runs the executables under test, when they are built for another system
# (Wine for a Windows build).
RUNNER = shlex.split(os.environ.get("CUENTAS_RUNNER", ""))

try:
    import dbfread
except ImportError:
    print("python3-dbfread is not installed; skipped")
    sys.exit(77)


def ours(dump, path):
    lines = subprocess.run(RUNNER + [dump, path], check=True, capture_output=True).stdout.split(b"\n")
    fields, live, deleted = [], [], []
    for line in filter(None, lines):
        words = line.decode("latin-1").split(" ")
        if words[0] == "error":
            raise SystemExit(f"{path}: our parser refuses it: {line.decode('latin-1')}")
        if words[0] == "field":
            fields.append((words[1], words[2], int(words[3])))
            continue
        values = {}
        for item in words[2:]:
            name, value = item.split("=", 1)
            values[name] = bytes.fromhex(value)
        (deleted if words[1] == "deleted" else live).append(values)
    return fields, live, deleted


def theirs(path):
    table = dbfread.DBF(path, raw=True, load=True, ignore_missing_memofile=True)
    fields = [(f.name, f.type, f.length) for f in table.fields]
    return fields, [dict(r) for r in table.records], [dict(r) for r in table.deleted]


failures = 0
for fixture in sys.argv[2:]:
    mine, other = ours(sys.argv[1], fixture), theirs(fixture)
    for what, a, b in zip(("fields", "live records", "deleted records"), mine, other):
        if a != b:
            failures += 1
            print(f"{fixture}: {what} differ\n  ours:     {a}\n  dbfread:  {b}")
    print(f"{fixture}: {len(mine[1])} live and {len(mine[2])} deleted records agree"
          if mine == other else f"{fixture}: differs")
sys.exit(1 if failures else 0)
