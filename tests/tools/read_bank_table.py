#!/usr/bin/python3
"""Runs make_bank_table on a sample list and reads the table it writes with python3-dbf, an
independent reader, and with our own parser (dbf_dump); then checks that a faulty list is
refused by line number and leaves no table behind.

usage: read_bank_table.py MAKE_BANK_TABLE DBF_DUMP DATA_DIR
"""

import os
import subprocess
import sys
import tempfile

import dbf

tool, dump, data = sys.argv[1:4]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def expected_banks(path):
    banks = []
    with open(path, encoding="utf-8-sig", newline="") as source:
        for line in source.read().split("\n"):
            line = line.rstrip("\r")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            code, name = line.split("\t", 1)
            banks.append((code, name.strip(" ")))
    return banks


with tempfile.TemporaryDirectory() as work:
    sample = os.path.join(data, "muestra.txt")
    table_path = os.path.join(work, "NomBancos.dbf")
    run = subprocess.run([tool, sample, table_path], capture_output=True, text=True)
    check(run.returncode == 0, f"the sample list was refused: {run.stderr}")
    check("muestra.txt:8: warning: code 0049 already on line 3" in run.stderr,
          f"no warning for the duplicate code: {run.stderr!r}")
    banks = expected_banks(sample)

    table = dbf.Table(table_path)
    table.open(mode=dbf.READ_ONLY)
    check(table.codepage.name == "cp1252", f"code page {table.codepage}")
    check(list(table.field_names) == ["banco", "nombre"], f"fields {table.field_names}")
    read = [(record.banco, record.nombre.rstrip()) for record in table]
    table.close()
    check(read == banks, f"python3-dbf reads {read}\n  expected {banks}")

    lines = subprocess.run([dump, table_path], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    check(lines[:2] == ["field BANCO C 4", "field NOMBRE C 60"], f"our fields {lines[:2]}")
    ours = []
    for line in lines[2:]:
        words = line.split(" ")
        values = dict(item.split("=", 1) for item in words[2:])
        ours.append((bytes.fromhex(values["BANCO"]), bytes.fromhex(values["NOMBRE"])))
    wanted = [(code.encode(), name.encode("cp1252").ljust(60, b" ")) for code, name in banks]
    check(ours == wanted, f"our parser reads {ours}\n  expected {wanted}")

    faulty = os.path.join(data, "mala.txt")
    refused = os.path.join(work, "mala.dbf")
    run = subprocess.run([tool, faulty, refused], capture_output=True, text=True)
    check(run.returncode == 1, f"a faulty list gave exit code {run.returncode}")
    for expected in ('mala.txt:2: code "49" is not 4 digits',
                     "mala.txt:3: no tab between the code and the name",
                     "mala.txt:4: character U+0141 of the name is not in Windows-1252"):
        check(expected in run.stderr, f"missing {expected!r} in {run.stderr!r}")
    check(not os.path.exists(refused), "a table was written from a faulty list")

for failure in failures:
    print("FAILED:", failure)
print(f"{len(failures)} failed" if failures else "the table reads the same in both readers")
sys.exit(1 if failures else 0)
