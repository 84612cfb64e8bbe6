#!/usr/bin/python3
"""The baseline for `cuentas-cli check`: python-stdnum checks each line, a code or an IBAN,
and writes the line with its verdict."""
import sys

from stdnum.es import ccc, iban


def main():
    out = sys.stdout
    for line in sys.stdin:
        number = line.rstrip('\r\n')
        if number[:2].isalpha():
            valid = iban.is_valid(number)
        else:
            valid = ccc.is_valid(number)
        out.write(number + (': valid\n' if valid else ': invalid\n'))


main()
