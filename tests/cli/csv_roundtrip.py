#!/usr/bin/python3
"""The CSV that cuentas-cli writes reads back, with Python's csv module, as exactly the records
it read plus the appended columns.

  csv_roundtrip.py CUENTAS_CLI REGISTER

Each awkward input of the table below goes through `check --csv`; its output is parsed with
the csv module (newline='', as the module wants files opened) and must be the input's records,
as the same module reads them, each with the six result columns appended (the header with
their names, a blank record unchanged). Where the input cannot be read as it stands (a quote
that never closes), the table says which records the tool is to read instead.
"""
import csv
import io
import os
import shlex
import subprocess
import sys

# The program that runs the executable under test, when it is built for another system
# (Wine for a Windows build).
RUNNER = shlex.split(os.environ.get("CUENTAS_RUNNER", ""))

CLI, REGISTER = sys.argv[1], sys.argv[2]
RESULT_COLUMNS = ['status', 'compact', 'iban', 'entity', 'message', 'ccc']
STATUS_WORDS = {'valid', 'recovered', 'empty', 'country', 'chars', 'length',
                'bank-branch-digit', 'account-digit', 'control-digits', 'iban-digits',
                'ambiguous', 'no-fit', 'unknown-bank', 'absorbed-bank', 'inactive-bank',
                'too-long', 'unterminated-quote', 'missing-field'}
csv.field_size_limit(sys.maxsize)

GOOD = '2100 0418 45 0200051332'
BAD = '2100 0418 46 0200051332'
IBAN = 'ES91 2100 0418 4502 0005 1332'
LONG = 'x' * ((1 << 20) + 100)

# (name, options, input, separator, the records the tool reads when the csv module cannot)
CASES = [
    ('header and rows, LF', [], f'cuenta,nota\n{GOOD},a\n{BAD},b\n', ',', None),
    ('CR LF', [], f'cuenta,nota\r\n{GOOD},a\r\n{IBAN},b\r\n', ',', None),
    ('lone CR, as for Macintosh', [], f'cuenta\r{GOOD}\r{BAD}\r', ',', None),
    ('mixed line ends', [], f'cuenta;x\r\n{GOOD};1\r{BAD};2\n{IBAN};3\r\n', ';', None),
    ('no header, no line end at the end', [], f'{GOOD},Ana\n{BAD},Luis', ',', None),
    ('quoted fields with separators, quotes, CR LF, CR',
     ['--column', 'cuenta'],
     f'nombre;cuenta\r\n"P\u00e9rez; Juan";{GOOD}\r\n"say ""hi""\r\nthere\rnow";"{BAD}"\r\n',
     ';', None),
    ('quote inside an unquoted field, text after a closing quote', [],
     f'cuenta,x\n{GOOD},5" screen\n{BAD},"ab"cd\n', ',', None),
    ('blank and separator-only lines', [], f'cuenta,x\n\n{GOOD},1\n,,\n  \n{BAD},2\n', ',', None),
    ('a record without the column', ['--column', '3'], f'a,b,c\n1,2,{GOOD}\nsolo\n', ',', None),
    ('first line without digits nor the column', ['--column', '7'], 'a,b,c\n1,2,3\n', ',', None),
    ('tab separator', ['--separator', 'tab', '--column', '2'], f'Ana\t{GOOD}\nLuis\t{BAD}\n',
     '\t', None),
    ('byte-order mark', [], f'\ufeffcuenta,x\n{GOOD},1\n', ',', None),
    ('entity names and messages that hold the separator', ['--separator', ','],
     f'{GOOD}\n2100 04?8 45 0200051332\n2100 04?? 45 0200051332\n', ',', None),
    ('a separator that occurs in the results', ['--separator', '-'],
     f'{GOOD}-x\n{BAD}-y\n', '-', None),
    ('a separator that is a letter of the status words', ['--separator', 'a'],
     f'{GOOD}ax\n{BAD}ay\n', 'a', None),
    ('characters outside ASCII and control characters', [],
     f'cuenta,x\n2100\u00a00418450200051332,\u00f1\n2100\x7f0418,\x01\n', ',', None),
    ('a record over the limit', [], f'cuenta,x\n{LONG},{GOOD}\n{GOOD},1\n', ',', None),
    ('a quoted field over the limit', [], f'cuenta,x\n"{LONG}",1\n{GOOD},1\n', ',', None),
    ('the cross-check in the message', [],
     'cuenta\nES9121000418405200051332\n22000418450200051332\n', ',', None),
    # The quote never closes: the record ends with its line, the next line is read anew.
    ('a quote that never closes, mid-file', [], f'cuenta,x\n{GOOD},"abc\n{BAD},2\n', ',',
     [['cuenta', 'x'], [GOOD, 'abc'], [BAD, '2']]),
    ('a quote that never closes at the end', [], f'cuenta,x\n{GOOD},1\n{BAD},"open', ',',
     [['cuenta', 'x'], [GOOD, '1'], [BAD, 'open']]),
    ('a quote that never closes after a closed multi-line one', [],
     f'cuenta,x,y\n{GOOD},"a\nb","c\n{BAD},2,3\r\n', ',',
     [['cuenta', 'x', 'y'], [GOOD, 'a\nb', 'c'], [BAD, '2', '3']]),
]

failures = 0
for name, options, text, separator, records in CASES:
    result = subprocess.run(RUNNER + [CLI, '--table', REGISTER, 'check', '--csv'] + options,
                            input=text.encode(), capture_output=True, env={'LANG': 'C'},
                            check=False)
    if result.returncode not in (0, 1):
        print(f'{name}: exit {result.returncode}: {result.stderr.decode()}')
        failures += 1
        continue
    out = list(csv.reader(io.StringIO(result.stdout.decode(), newline=''), delimiter=separator))
    if records is None:
        records = list(csv.reader(io.StringIO(text, newline=''), delimiter=separator))
    problems = []
    if len(out) != len(records):
        problems.append(f'{len(out)} records out for {len(records)} in')
    for i, (record, back) in enumerate(zip(records, out)):
        blank = all(field.strip() == '' for field in record)
        if blank:
            if back != record:
                problems.append(f'blank record {i + 1} came back as {back!r}')
        elif back[:len(record)] != record or len(back) != len(record) + len(RESULT_COLUMNS):
            problems.append(f'record {i + 1} {record!r:.200} came back as {back!r:.300}')
        elif i == 0 and back[len(record):] == RESULT_COLUMNS:
            pass  # the header
        elif back[len(record)] not in STATUS_WORDS:
            problems.append(f'record {i + 1}: status {back[len(record)]!r}')
    if problems:
        failures += 1
        print(f'{name}:\n  ' + '\n  '.join(problems[:5]))

print(f'{len(CASES)} CSV inputs read back, {failures} failed')
sys.exit(1 if failures else 0)
