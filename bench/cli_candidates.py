#!/usr/bin/python3
"""How well the cross-check of `cuentas-cli check` finds a mistyped IBAN again.

  cli_candidates.py CUENTAS_CLI REGISTER [IBANS]

Makes IBANS (10,000) random valid IBANs whose bank codes are in the register (read with
python3-dbfread), and from each every number one changed digit or one swap of two
neighbouring digits away that the checks see (all fail at least one), runs them through the
real executable as JSON lines, and counts for how many the true number is among the
`candidates`, and among the numbers the message names, and how many candidates there are.
The goal: the true number always among the candidates, and at most three candidates for 99 %.
The random state is fixed.
"""
import collections
import json
import random
import subprocess
import sys

from dbfread import DBF
from stdnum.es import ccc

CLI, REGISTER = sys.argv[1], sys.argv[2]
IBANS = int(sys.argv[3]) if len(sys.argv) > 3 else 10000
rng = random.Random(2026)
banks = sorted({record['BANCO'] for record in DBF(REGISTER, encoding='cp1252')})


def valid_iban():
    digits = rng.choice(banks) + ''.join(rng.choice('0123456789') for _ in range(16))
    digits = digits[:8] + ccc.calc_check_digits(digits) + digits[10:]
    return 'ES%02d' % (98 - int(digits + '142800') % 97) + digits


def passes(number):
    return int(number[4:] + '1428' + number[2:4]) % 97 == 1 and ccc.is_valid(number[4:])


def typos(number):
    for i in range(2, 24):
        for digit in '0123456789':
            if digit != number[i]:
                yield number[:i] + digit + number[i + 1:]
    for i in range(2, 23):
        if number[i] != number[i + 1]:
            yield number[:i] + number[i + 1] + number[i] + number[i + 2:]


def paper(number):
    return ' '.join(number[i:i + 4] for i in range(0, 24, 4))


counts = collections.Counter()
found = named = seen = 0
missed = []
unnamed = []  # the check digits alone, which the message does not advise while others fit
for start in range(0, IBANS, 500):
    cases = []
    for _ in range(min(500, IBANS - start)):
        true = valid_iban()
        cases += [(true, typo) for typo in typos(true) if not passes(typo)]
    out = subprocess.run([CLI, '--table', REGISTER, 'check', '--json'],
                         input=''.join(typo + '\n' for _, typo in cases).encode(),
                         capture_output=True, env={'LANG': 'C'}, check=False).stdout
    for (true, typo), line in zip(cases, out.splitlines()):
        result = json.loads(line)
        candidates = [c['number'] for c in result.get('candidates', [])]
        seen += 1
        counts[len(candidates)] += 1
        found += true in candidates
        # The check digits alone are advised as "they should be NN".
        told = paper(true) in result['message'] or (
            true[4:] == typo[4:] and f'they should be {true[2:4]}' in result['message'])
        named += told
        if true not in candidates and len(missed) < 5:
            missed.append((typo, 'not among the candidates: ' + result['message']))
        elif not told and len(unnamed) < 3:
            unnamed.append((typo, result['message']))

print(f'{IBANS:,} valid IBANs, {seen:,} visible typos (one digit changed or two neighbours '
      f'swapped)')
print(f'true number among the candidates: {found:,} ({100 * found / seen:.2f} %); '
      f'named in the message: {named:,} ({100 * named / seen:.2f} %)')
print('candidates: ' + ', '.join(f'{n}: {c:,} ({100 * c / seen:.2f} %)'
                                 for n, c in sorted(counts.items())))
at_most_three = sum(c for n, c in counts.items() if n <= 3)
print(f'at most three candidates: {100 * at_most_three / seen:.2f} % (goal 99 %)')
for typo, message in missed:
    print(f'  missed: {typo}: {message}')
for typo, message in unnamed:
    print(f'  a typo in the check digits, not advised beside another number: {typo}: {message}')
sys.exit(0 if found == seen and at_most_three >= 0.99 * seen else 1)
