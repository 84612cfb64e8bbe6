#!/usr/bin/python3
"""The baseline for `cuentas-cli check --csv --column account`: python-stdnum checks the
account column, converts it to IBAN and looks the entity up in the register (read with
python3-dbfread), and appends status, compact form, IBAN, entity and message to each row.

  stdnum_csv.py REGISTER < in.csv > out.csv
"""
import csv
import sys

from dbfread import DBF
from stdnum import exceptions
from stdnum.es import ccc, iban


def main():
    names = {}
    for record in DBF(sys.argv[1], encoding='cp1252'):
        names.setdefault(record['BANCO'], (record.get('RAZONSOC') or record['NOMBRE']).strip())
    reader = csv.reader(sys.stdin)
    writer = csv.writer(sys.stdout, lineterminator='\n')
    header = next(reader)
    column = header.index('account')
    writer.writerow(header + ['status', 'compact', 'iban', 'entity', 'message'])
    for row in reader:
        number = row[column]
        try:
            if number[:2].isalpha():
                compact = iban.validate(number)
                converted = compact
            else:
                compact = ccc.validate(number)
                converted = ccc.to_iban(compact)
            code = converted[4:8]
            writer.writerow(row + ['valid', compact, converted, names.get(code, ''), 'valid'])
        except exceptions.ValidationError as error:
            writer.writerow(row + ['invalid', '', '', '', error.message])


main()
