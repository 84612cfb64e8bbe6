#!/usr/bin/python3
"""Writes the valid .dbf fixtures of the table reader's tests with python3-dbf, a reader and
writer that shares no code with ours, and copies three of them into the fuzzing corpus.

Run with Debian's interpreter from anywhere: /usr/bin/python3 tests/data/dbf/make_fixtures.py
The outputs are small and checked in; the tests state the expected contents themselves.

python3-dbf strips leading and trailing blanks from character values unless a field is
BINARY, which dBASE III tables cannot declare. So the dBASE III table carries plain names
(blank-padded on the right by the writer), and the FoxPro and Visual FoxPro tables carry the
byte-exact cases: leading blanks, NUL, CR LF, 0x1A and high bytes inside a name.
"""

import os
import shutil

import dbf

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "..", "..", "fuzz", "corpus")


def cp1252(text):
    return text.encode("cp1252")


def create(name, fields, kind, rows, deleted=()):
    path = os.path.join(HERE, name)
    for stale in (path + ".dbf", path + ".fpt"):
        if os.path.exists(stale):
            os.remove(stale)
    table = dbf.Table(path, fields, dbf_type=kind, codepage="cp1252")
    table.open(mode=dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    for index in deleted:
        dbf.delete(table[index])
    table.close()
    return path + ".dbf"


# dBASE III (0x03): the extra field first, the two that matter in reverse order, a duplicate
# code, accented names and a deleted record.
db3 = create(
    "bancos_db3",
    "NOMBRE C(40); ALTA D; BANCO C(4)",
    "db3",
    [
        ("Banco Santander", dbf.Date(1999, 1, 15), "0049"),
        ("Banco de Sabadell", dbf.Date(2001, 12, 31), "0081"),
        ("Banco Español de Crédito", None, "0030"),
        ("Caixa d\u2019Estalvis i Pensions", dbf.Date(2014, 6, 2), "2100"),
        ("Segunda 0049", None, "0049"),
    ],
    deleted=[3],
)

# dBASE III without records.
empty = create("vacia_db3", "BANCO C(4); NOMBRE C(60)", "db3", [])

# FoxPro 2 with a memo (0xF5): BINARY fields keep every byte as given.
fp = create(
    "bancos_fp",
    "BANCO C(4) BINARY; NOTAS M; NOMBRE C(30) BINARY",
    "fp",
    [
        (b"0049", "memo text", cp1252("  Banco Santander")),
        (b"0081", None, b"Sabadell\x00NUL"),
        (b"0128", None, b"Bankinter\r\nCR LF\x1a"),
        (b"0049", None, cp1252("\u00d1and\u00fa \u20ac")),
        (b" 182", None, cp1252("BBVA")),
    ],
    deleted=[1],
)

# Visual FoxPro (0x30): the 263-byte backlink after the field list, numbers and logic.
vfp = create(
    "bancos_vfp",
    "IMPORTE N(8,2); NOMBRE C(60) BINARY; ACTIVO L; BANCO C(4) BINARY",
    "vfp",
    [
        (1234.5, cp1252("Caja Rural de C\u00f3rdoba   "), True, b"3187"),
        (-7, cp1252("   Banco Cooperativo Espa\u00f1ol"), False, b"0198"),
        (None, b"", None, b"0000"),
    ],
    deleted=[2],
)

for source, start in ((db3, "start_0x03.dbf"), (fp, "start_0xf5.dbf"), (vfp, "start_0x30.dbf")):
    os.makedirs(CORPUS, exist_ok=True)
    shutil.copyfile(source, os.path.join(CORPUS, start))

print("written:", ", ".join(os.path.basename(p) for p in (db3, empty, fp, vfp)))
