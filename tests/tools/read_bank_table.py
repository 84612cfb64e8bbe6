#!/usr/bin/python3
"""Runs make_bank_table on a sample register and reads the table it writes with python3-dbf
and python3-dbfread, two independent readers, and with our own parser (dbf_dump); checks that
a faulty register is refused by line number and leaves no table behind; then reads the bundled
table with python3-dbfread and compares it with the register it was built from.

usage: read_bank_table.py MAKE_BANK_TABLE DBF_DUMP DATA_DIR REGISTER BUNDLED_TABLE
"""

import datetime
import os
import shlex
import subprocess
import sys
import tempfile

import dbf
import dbfread

# The program that runs the executables under test, when they are built for another system
# (Wine for a Windows build).
RUNNER = shlex.split(os.environ.get("CUENTAS_RUNNER", ""))

tool, dump, data, register, bundled = sys.argv[1:6]
failures = []
LAYOUT = [("BANCO", "C", 4), ("NOMBRE", "C", 70), ("ESTADO", "C", 7), ("SUCESORA", "C", 4),
          ("BIC", "C", 11), ("RAZONSOC", "C", 70)]


def check(condition, message):
    if not condition:
        failures.append(message)


def read_register(path):
    """The register's date and its entities as dictionaries, read on their own here."""
    date, entities = None, []
    with open(path, encoding="utf-8-sig", newline="") as source:
        lines = [line.rstrip("\r") for line in source.read().split("\n")]
    for line in lines:
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        fields = line.split("\t")
        if fields[0] == "fecha":
            date = datetime.date.fromisoformat(fields[1])
        elif fields[0] != "codigo":
            entities.append(dict(zip(["codigo", "nombre", "corto", "estado", "motivo", "sucesora",
                                      "traspaso", "bic", "baja", "nota"], fields)))
    return date, entities


def check_layout(table, what):
    fields = [(f.name, f.type, f.length) for f in table.fields]
    check(fields == LAYOUT, f"{what}: fields {fields}")
    check(table.encoding == "cp1252", f"{what}: code page {table.encoding}")


def check_records(rows, entities, what):
    """The fields that come straight from the register, and the dialog's text as far as it can
    be told without following successors."""
    check(len(rows) == len(entities), f"{what}: {len(rows)} records for {len(entities)} entities")
    for row, entity in zip(rows, entities):
        code = entity["codigo"]
        check(row["BANCO"] == code, f"{what}: {row['BANCO']} where {code} was expected")
        check(row["RAZONSOC"] == entity["nombre"], f"{what} {code}: RAZONSOC {row['RAZONSOC']!r}")
        check(row["ESTADO"] == entity["estado"], f"{what} {code}: ESTADO {row['ESTADO']!r}")
        check(row["SUCESORA"] == entity["sucesora"], f"{what} {code}: SUCESORA {row['SUCESORA']!r}")
        check(row["BIC"] == entity["bic"], f"{what} {code}: BIC {row['BIC']!r}")
        if entity["estado"] == "vigente":
            check(row["NOMBRE"] == entity["nombre"], f"{what} {code}: NOMBRE {row['NOMBRE']!r}")
        else:
            shown = entity["corto"] or entity["nombre"]
            check(row["NOMBRE"].startswith(shown + " (") and row["NOMBRE"].endswith(")"),
                  f"{what} {code}: NOMBRE {row['NOMBRE']!r}")


with tempfile.TemporaryDirectory() as work:
    sample = os.path.join(data, "muestra.tsv")
    date, entities = read_register(sample)
    table_path = os.path.join(work, "NomBancos.dbf")
    run = subprocess.run(RUNNER + [tool, sample, table_path], capture_output=True, text=True)
    check(run.returncode == 0 and run.stderr == "", f"the sample was refused: {run.stderr}")

    # python3-dbfread: layout, header date and every field.
    table = dbfread.DBF(table_path, char_decode_errors="strict")
    check_layout(table, "dbfread")
    check(table.date == date, f"dbfread: header date {table.date}, register {date}")
    rows = list(table)
    check_records(rows, entities, "dbfread")
    by_code = {row["BANCO"]: row["NOMBRE"] for row in rows}
    check(by_code.get("0004") == "Banco de Andalucía (absorbida; hoy 0049 Santander)",
          f"dbfread: 0004 shows {by_code.get('0004')!r}")
    check(by_code.get("2402") == "Caja Madrid (hoy 2100 CaixaBank)",
          f"dbfread: 2402 shows {by_code.get('2402')!r}")

    # python3-dbf: the same records through another reader.
    other = dbf.Table(table_path)
    other.open(mode=dbf.READ_ONLY)
    check(other.codepage.name == "cp1252", f"dbf: code page {other.codepage}")
    read = [(record.banco, record.nombre.rstrip(), record.razonsoc.rstrip()) for record in other]
    other.close()
    check(read == [(r["BANCO"], r["NOMBRE"], r["RAZONSOC"]) for r in rows],
          f"dbf reads {read}\n  dbfread reads {rows}")

    # Our own parser: the bytes of every field.
    lines = subprocess.run(RUNNER + [dump, table_path], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    check(lines[:6] == [f"field {n} {t} {w}" for n, t, w in LAYOUT], f"our fields {lines[:6]}")
    ours = []
    for line in lines[6:]:
        values = dict(item.split("=", 1) for item in line.split(" ")[2:])
        ours.append(tuple(bytes.fromhex(values[n]) for n, _, _ in LAYOUT))
    wanted = [tuple(str(r[n]).encode("cp1252").ljust(w, b" ") for n, _, w in LAYOUT) for r in rows]
    check(ours == wanted, f"our parser reads {ours}\n  expected {wanted}")

    # Faulty registers: every problem by line, and no table.
    for name, expected in (("mala.tsv", ['mala.tsv:3: codigo "49" is not 4 digits',
                                         "mala.tsv:5: nombre holds U+0141, which Windows-1252 "
                                         "lacks"]),
                           ("rota.tsv", ["rota.tsv:3: sucesora 0082 is not in the register",
                                         "rota.tsv:5: codigo 0081 already on line 4"])):
        refused = os.path.join(work, name + ".dbf")
        run = subprocess.run(RUNNER + [tool, os.path.join(data, name), refused], capture_output=True,
                             text=True)
        check(run.returncode == 1, f"{name} gave exit code {run.returncode}")
        for text in expected:
            check(text in run.stderr, f"missing {text!r} in {run.stderr!r}")
        check(not os.path.exists(refused), f"a table was written from {name}")

# The bundled table, as the build wrote it from the shipped register.
date, entities = read_register(register)
table = dbfread.DBF(bundled, char_decode_errors="strict")
check_layout(table, "bundled")
check(table.date == date, f"bundled: header date {table.date}, register {date}")
check_records(list(table), entities, "bundled")
codes = [entity["codigo"] for entity in entities]
check(codes == sorted(set(codes)), "bundled: codes not in order or not unique")

for failure in failures:
    print("FAILED:", failure)
print(f"{len(failures)} failed" if failures else "the tables read the same in every reader")
sys.exit(1 if failures else 0)
