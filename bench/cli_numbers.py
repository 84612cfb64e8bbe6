#!/usr/bin/python3
"""Writes account numbers for the command-line benchmark, one a line, half of them valid.

  cli_numbers.py LINES [--csv]

Forms as they come in real files: 60 % compact codes, 20 % codes grouped with blanks, 20 %
IBAN (half compact, half on paper). An invalid number has one digit changed. With --csv each
line is a customer record "id,name,account" under a header. The random state is fixed, so
every run writes the same file.
"""
import random
import sys

from stdnum.es import ccc

BANKS = ['2100', '0049', '0081', '0182', '0128', '2080', '2085', '0030', '9999']


def number(rng):
    digits = rng.choice(BANKS) + ''.join(rng.choice('0123456789') for _ in range(16))
    digits = digits[:8] + ccc.calc_check_digits(digits) + digits[10:]
    iban = ccc.to_iban(digits)
    if rng.random() < 0.5:
        place = rng.randrange(20)
        wrong = str((int(digits[place]) + rng.randrange(1, 10)) % 10)
        digits = digits[:place] + wrong + digits[place + 1:]
        iban = iban[:4] + digits
    form = rng.random()
    if form < 0.6:
        return digits
    if form < 0.8:
        return ' '.join((digits[:4], digits[4:8], digits[8:10], digits[10:]))
    if form < 0.9:
        return iban
    return ' '.join(iban[i:i + 4] for i in range(0, 24, 4))


def main():
    lines = int(sys.argv[1])
    csv = '--csv' in sys.argv[2:]
    rng = random.Random(20260101)
    out = sys.stdout
    if csv:
        out.write('id,name,account\n')
    for i in range(lines):
        if csv:
            out.write('%d,Cliente %d,%s\n' % (i + 1, i + 1, number(rng)))
        else:
            out.write(number(rng) + '\n')


main()
