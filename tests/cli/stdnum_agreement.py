#!/usr/bin/python3
"""cuentas-cli against python-stdnum, an independent implementation, on random inputs.

  stdnum_agreement.py CUENTAS_CLI

Thousands of codes and IBANs, valid and spoilt in the ways people spoil them, go through the
real executable in batch (every JSON line must parse); validity, the kind of fault, the
expected digits, the IBAN, the 20 digits, the paper form and every recovery must agree with
what stdnum says or, for recovery, with trying all ten digits through stdnum. The random state
is fixed. Exit 77 (skipped) without stdnum.
"""
import csv
import io
import json
import os
import random
import shlex
import subprocess
import sys

# The program that runs the executables under test, when they are built for another system
# (Wine for a Windows build).
RUNNER = shlex.split(os.environ.get("CUENTAS_RUNNER", ""))

try:
    from stdnum import exceptions
    from stdnum import iban as stdiban
    from stdnum.es import ccc
    from stdnum.es import iban as esiban
except ImportError:
    print('python3-stdnum is not installed')
    sys.exit(77)

CLI = sys.argv[1]
rng = random.Random(12)
failures = []


def fail(what):
    failures.append(what)
    if len(failures) <= 20:
        print('MISMATCH:', what)


def run(arguments, text):
    result = subprocess.run(RUNNER + [CLI] + arguments, input=text.encode(), capture_output=True,
                            env={'LANG': 'C'}, check=False)
    if result.returncode not in (0, 1):
        raise SystemExit(f'{arguments}: exit {result.returncode}: {result.stderr.decode()}')
    return result.stdout.decode()


def valid_code():
    digits = ''.join(rng.choice('0123456789') for _ in range(20))
    return digits[:8] + ccc.calc_check_digits(digits) + digits[10:]


def spoil(number):
    """One of the faults people make, or none."""
    kind = rng.randrange(8)
    place = rng.randrange(2 if number[:2].isalpha() else 0, len(number))
    if kind == 0:
        return number
    if kind == 1:  # a digit mistyped
        return number[:place] + str((int(number[place]) + rng.randrange(1, 10)) % 10) + \
            number[place + 1:]
    if kind == 2 and place + 1 < len(number):  # two digits swapped
        return number[:place] + number[place + 1] + number[place] + number[place + 2:]
    if kind == 3:  # a digit lost
        return number[:place] + number[place + 1:]
    if kind == 4:  # a digit too many
        return number[:place] + rng.choice('0123456789') + number[place:]
    if kind == 5:  # a letter for a digit
        return number[:place] + rng.choice('OlIxA') + number[place + 1:]
    return number


def written(number):
    """Compact, grouped with blanks or with hyphens, in either case."""
    style = rng.randrange(4)
    if style == 0:
        return number
    separator = ' ' if style < 3 else '-'
    groups = [number[i:i + 4] for i in range(0, len(number), 4)]
    text = separator.join(groups)
    return text.lower() if style == 2 else text


def inputs():
    numbers = []
    for _ in range(3000):
        numbers.append(written(spoil(valid_code())))
    for _ in range(3000):
        code = valid_code()
        iban = ccc.to_iban(code)
        if rng.random() < 0.2:  # wrong IBAN check digits
            iban = iban[:2] + '%02d' % rng.randrange(100) + iban[4:]
        numbers.append(written(spoil(iban)))
    return numbers


def stdnum_kind(number):
    """stdnum's verdict: None when valid, else the exception's class."""
    module = esiban if number.strip()[:2].isalpha() else ccc
    compact = stdiban.compact(number)
    if module is esiban and not compact[2:4].isdigit():
        # stdnum lets letters stand for the IBAN's check digits when the checksum happens
        # to work out ("ES8L..."); ISO 13616 check digits are digits.
        return exceptions.InvalidFormat
    try:
        module.validate(number)
        return None
    except exceptions.ValidationError as error:
        return type(error)


FAULT_KINDS = {
    'length': {exceptions.InvalidLength},
    'chars': {exceptions.InvalidFormat, exceptions.InvalidLength},
    'bank-branch-digit': {exceptions.InvalidChecksum},
    'account-digit': {exceptions.InvalidChecksum},
    'control-digits': {exceptions.InvalidChecksum},
    'iban-digits': {exceptions.InvalidChecksum},
    # stdnum checks the IBAN's checksum before the country.
    'country': {exceptions.InvalidComponent, exceptions.InvalidChecksum},
}


def check_verdicts(numbers):
    lines = run(['check', '--json'], '\n'.join(numbers) + '\n').splitlines()
    if len(lines) != len(numbers):
        fail(f'{len(lines)} JSON lines for {len(numbers)} numbers')
    for number, line in zip(numbers, lines):
        result = json.loads(line)
        kind = stdnum_kind(number)
        if result['input'] != number:
            fail(f'{number!r}: input came back as {result["input"]!r}')
        if result['valid'] != (kind is None):
            fail(f'{number!r}: valid {result["valid"]}, stdnum {kind}')
            continue
        if kind is None:
            compact = stdiban.compact(number)
            code = compact[4:] if compact[:2].isalpha() else compact
            if result['ccc'] != code or result['iban'] != ccc.to_iban(code):
                fail(f'{number!r}: {result["ccc"]} {result["iban"]}')
            if result['compact'] != compact:
                fail(f'{number!r}: compact {result["compact"]}, stdnum {compact}')
            continue
        kinds = set(FAULT_KINDS.get(result['status'], set()))
        if number.strip()[:2].isalpha():
            # stdnum tries an IBAN's checksum before its length and characters, and its
            # structure before its length.
            kinds.update({exceptions.InvalidChecksum, exceptions.InvalidFormat})
        if kind not in kinds:
            fail(f'{number!r}: {result["status"]}, stdnum {kind.__name__}')
        if result['status'] in ('bank-branch-digit', 'account-digit', 'control-digits'):
            code = stdiban.compact(number)[-20:]
            if result['digits_expected'] != ccc.calc_check_digits(code):
                fail(f'{number!r}: expected digits {result["digits_expected"]}')
        if result['status'] == 'iban-digits':
            if result['digits_expected'] != stdiban.calc_check_digits(stdiban.compact(number)):
                fail(f'{number!r}: expected IBAN digits {result["digits_expected"]}')
    return len(lines)


def check_conversions():
    codes = [valid_code() for _ in range(1000)]
    ibans = run(['iban'], '\n'.join(codes) + '\n').splitlines()
    digits = run(['digits'], '\n'.join(c[:8] + '??' + c[10:] for c in codes) + '\n').splitlines()
    back = run(['ccc'], '\n'.join(ccc.to_iban(c) for c in codes) + '\n').splitlines()
    paper = run(['format'], '\n'.join(ccc.to_iban(c) for c in codes) + '\n').splitlines()
    for code, i, d, c, p in zip(codes, ibans, digits, back, paper):
        expected = ccc.to_iban(code)
        if i != expected or d != ccc.calc_check_digits(code) or c != code or \
                p != stdiban.format(expected):
            fail(f'{code}: iban {i}, digits {d}, ccc {c}, format {p}')
    return 4 * len(codes)


def check_recovery():
    cases = []
    for _ in range(1500):
        code = valid_code()
        places = rng.sample(range(20), rng.choice((1, 1, 1, 2)))
        unreadable = ''.join('?' if i in places else ch for i, ch in enumerate(code))
        fits = []
        for fill in range(10 ** len(places)):
            trial = list(unreadable)
            for n, place in enumerate(places):
                trial[place] = str(fill // 10 ** n % 10)
            if ccc.is_valid(''.join(trial)):
                fits.append(''.join(trial))
        cases.append((unreadable, fits))
    lines = run(['check', '--json'], '\n'.join(c for c, _ in cases) + '\n').splitlines()
    for (unreadable, fits), line in zip(cases, lines):
        result = json.loads(line)
        if len(fits) == 1:
            if result['status'] not in ('recovered', 'unknown-bank') or \
                    result['ccc'] != fits[0]:
                fail(f'{unreadable}: {result["status"]} {result.get("ccc")}, stdnum {fits}')
        elif not fits and result['status'] != 'no-fit':
            fail(f'{unreadable}: {result["status"]}, no digit fits by stdnum')
        elif len(fits) > 1 and (result['status'] != 'ambiguous' or
                                result['fitting'] != len(fits)):
            fail(f'{unreadable}: {result["status"]} {result.get("fitting")}, '
                 f'{len(fits)} fit by stdnum')
    return len(lines)


def check_csv():
    rows = []
    for i in range(500):
        number = written(spoil(valid_code()))
        name = rng.choice(['Ana', 'P\u00e9rez, Juan', 'say "hi"', 'two\nlines', ''])
        rows.append([str(i), name, number, rng.choice(['', '1,5', ';'])])
    text = io.StringIO()
    csv.writer(text, lineterminator='\r\n').writerows([['id', 'name', 'cuenta', 'note']] + rows)
    out = list(csv.reader(io.StringIO(run(['check', '--csv', '--column', 'cuenta'],
                                          text.getvalue()), newline='')))
    if out[0] != ['id', 'name', 'cuenta', 'note', 'status', 'compact', 'iban', 'entity',
                  'message', 'ccc']:
        fail(f'CSV header {out[0]}')
    for row, result in zip(rows, out[1:]):
        if result[:4] != row or len(result) != 10:
            fail(f'CSV row {row} came back as {result}')
        elif (result[4] in ('valid', 'unknown-bank', 'absorbed-bank', 'inactive-bank')) != \
                (stdnum_kind(row[2]) is None):
            fail(f'CSV row {row}: {result[4]}')
    return len(rows)


checked = check_verdicts(inputs()) + check_conversions() + check_recovery() + check_csv()
print(f'{checked} results compared with python-stdnum, {len(failures)} mismatches')
sys.exit(1 if failures else 0)
