#!/usr/bin/python3
"""The cross-check of cuentas-cli against an exhaustive search written here.

  candidates_search.py CUENTAS_CLI REGISTER

For numbers whose checks fail (typos of valid IBANs and codes, and numbers of random digits,
compact, on paper and after the word IBAN), every number one changed digit or one swap of two
neighbouring digits away is tried, and python-stdnum says whether it passes; a bank code
outside the register (read with python3-dbfread) rules it out. The `candidates` of each JSON
line must be exactly those numbers, at the positions of the number as written: always for an
IBAN, for a code only when there are at most three (and none otherwise). The message must name
each candidate that changes more than the IBAN check digits, and advise the check digits
alone only when nothing else fits. The random state is fixed. Exit 77 (skipped) without
stdnum or dbfread.
"""
import json
import os
import random
import shlex
import subprocess
import sys

# The program that runs the executable under test, when it is built for another system
# (Wine for a Windows build).
RUNNER = shlex.split(os.environ.get("CUENTAS_RUNNER", ""))

try:
    from dbfread import DBF
    from stdnum.es import ccc
    from stdnum import iban
except ImportError:
    print('python3-stdnum or python3-dbfread is not installed')
    sys.exit(77)

CLI, REGISTER = sys.argv[1], sys.argv[2]
HANDFUL = 3
rng = random.Random(22)
banks = sorted({record['BANCO'] for record in DBF(REGISTER, encoding='cp1252')})
known = set(banks)
failures = []


def fail(what):
    failures.append(what)
    if len(failures) <= 20:
        print('MISMATCH:', what)


def checks_pass(compact):
    """Every check, by stdnum; IBAN check digits 00, 01 and 99 are never computed, though
    stdnum takes them when the remainder allows."""
    if compact[:2] == 'ES':
        return (iban.is_valid(compact) and 2 <= int(compact[2:4]) <= 98 and
                ccc.is_valid(compact[4:]))
    return ccc.is_valid(compact)


def passes(compact):
    return checks_pass(compact) and compact[-20:-16] in known


def neighbours(compact):
    """(number, first index changed, indexes changed) one change away."""
    first = 2 if compact[:2] == 'ES' else 0
    for i in range(first, len(compact)):
        for digit in '0123456789':
            if digit != compact[i]:
                yield compact[:i] + digit + compact[i + 1:], (i,)
    for i in range(first, len(compact) - 1):
        if compact[i] != compact[i + 1]:
            yield compact[:i] + compact[i + 1] + compact[i] + compact[i + 2:], (i, i + 1)


def valid_code():
    digits = rng.choice(banks) + ''.join(rng.choice('0123456789') for _ in range(16))
    return digits[:8] + ccc.calc_check_digits(digits) + digits[10:]


def typo(compact):
    number, _ = rng.choice(list(neighbours(compact)))
    return number


def random_number(is_iban):
    digits = ''.join(rng.choice('0123456789') for _ in range(20))
    if rng.random() < 0.7:
        digits = rng.choice(banks) + digits[4:]
    return 'ES' + ''.join(rng.choice('0123456789') for _ in range(2)) + digits if is_iban \
        else digits


def written(compact):
    """The number as people write it, and where each compact character stands (from 1)."""
    form = rng.randrange(4)
    if form == 0:
        text = compact
    elif compact[:2] == 'ES':
        text = ' '.join(compact[i:i + 4] for i in range(0, 24, 4))
        if form == 2:
            text = 'IBAN ' + text
    else:
        text = '-'.join((compact[:4], compact[4:8], compact[8:10], compact[10:]))
    places = [i + 1 for i, c in enumerate(text) if c not in ' -'][-len(compact):]
    return text, places


def paper(compact):
    if compact[:2] == 'ES':
        return ' '.join(compact[i:i + 4] for i in range(0, 24, 4))
    return ' '.join((compact[:4], compact[4:8], compact[8:10], compact[10:]))


cases = []
for _ in range(500):
    cases.append(typo(iban.compact(ccc.to_iban(valid_code()))))
    cases.append(typo(valid_code()))
for _ in range(250):
    cases.append(random_number(True))
    cases.append(random_number(False))
# Typos around the control digits, where a group's digits meet the other's: each control
# digit changed, swapped with its neighbour or with the other.
for _ in range(150):
    code = valid_code()
    number = iban.compact(ccc.to_iban(code))
    place = rng.choice([7, 8, 9])
    for text, start in ((code, 0), (number, 4)):
        i = start + place
        cases.append(text[:i] + text[i + 1] + text[i] + text[i + 2:])
        cases.append(text[:i] + str((int(text[i]) + rng.randrange(1, 10)) % 10) + text[i + 1:])
cases = [c for c in cases if not checks_pass(c)]
texts = [written(c) for c in cases]
result = subprocess.run(RUNNER + [CLI, '--table', REGISTER, 'check', '--json'],
                        input=''.join(t + '\n' for t, _ in texts).encode(), capture_output=True,
                        env={'LANG': 'C'}, check=False)
lines = result.stdout.decode().splitlines()
if len(lines) != len(cases):
    raise SystemExit(f'{len(lines)} JSON lines for {len(cases)} numbers: {result.stderr}')

told = {'iban': 0, 'code': 0}
for compact, (text, places), line in zip(cases, texts, lines):
    found = json.loads(line)
    expected = sorted((number, [places[i] for i in changed])
                      for number, changed in neighbours(compact) if passes(number))
    is_iban = compact[:2] == 'ES'
    if found['status'] not in ('bank-branch-digit', 'account-digit', 'control-digits',
                               'iban-digits'):
        fail(f'{text}: status {found["status"]}')
        continue
    if not is_iban and len(expected) > HANDFUL:
        if 'candidates' in found:
            fail(f'{text}: {len(expected)} candidates, more than a handful, yet told')
        continue
    got = sorted((c['number'], c['positions']) for c in found.get('candidates', []))
    if got != expected:
        fail(f'{text}: candidates {got}, the exhaustive search finds {expected}')
        continue
    for c in found['candidates']:
        changed = [places.index(p) for p in c['positions']]
        if c['written'] != ''.join(compact[i] for i in changed) or \
                c['becomes'] != ''.join(c['number'][i] for i in changed):
            fail(f'{text}: {c} does not say what changed')
    # What the message advises: never the check or control digits alone while another
    # change fits; then an IBAN's other candidates, and all of a code's, grouped.
    def alone(changed):
        return max(changed) < 4 if is_iban else min(changed) >= 8 and max(changed) <= 9

    beyond = [number for number, changed in neighbours(compact)
              if passes(number) and not alone(changed)]
    named = beyond if is_iban else [number for number, _ in expected]
    message = found['message']
    if beyond:
        told['iban' if is_iban else 'code'] += 1
        if 'should be' in message:
            fail(f'{text}: advises the digits alone: {message}')
        for number in named:
            if paper(number) not in message:
                fail(f'{text}: {paper(number)} not in the message {message}')
    elif 'one change away' in message:
        fail(f'{text}: {message}')

print(f'{len(cases)} failing numbers searched exhaustively ({told["iban"]} IBANs and '
      f'{told["code"]} codes with candidates told), {len(failures)} mismatches')
sys.exit(1 if failures else 0)
