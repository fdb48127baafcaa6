#!/usr/bin/python3
"""Reads an .xlsx workbook with openpyxl, recalculates every formula from
the cached values of the cells it reads and compares the result with the
formula's own cached value. Prints "sheet NAME ROWS", the rows of cached
values (tab-separated), then "formulas N". Exit status 1 with the failing
cells on standard error when a formula does not give its cached value."""
import math
import re
import sys
from decimal import Decimal, ROUND_HALF_UP

import openpyxl

TOKEN = re.compile(r'\s*(?:(?P<num>\d+(?:\.\d*)?(?:[eE][+-]?\d+)?)|(?P<str>"(?:[^"]|"")*")|'
                   r'(?P<range>[A-Z]+\d+:[A-Z]+\d+)|(?P<cell>[A-Z]+\d+)(?![A-Z(])|(?P<name>[A-Z][A-Z0-9.]*)|'
                   r'(?P<op>[-+*/^&(),]))')


def excel_round(x, d):
    q = Decimal(format(x, '.15g')).quantize(Decimal(1).scaleb(-d), rounding=ROUND_HALF_UP)
    return float(q)


class Formula:
    def __init__(self, text, cells):
        self.tokens = []
        pos = 0
        while pos < len(text):
            m = TOKEN.match(text, pos)
            if not m or m.end() == pos:
                raise ValueError('cannot read %r at %d' % (text, pos))
            kind = m.lastgroup
            self.tokens.append((kind, m.group(kind)))
            pos = m.end()
        self.i = 0
        self.cells = cells

    def peek(self):
        return self.tokens[self.i] if self.i < len(self.tokens) else (None, None)

    def take(self, value=None):
        tok = self.peek()
        if value is not None and tok[1] != value:
            raise ValueError('expected %r, found %r' % (value, tok))
        self.i += 1
        return tok

    def run(self):
        v = self.concat()
        if self.i != len(self.tokens):
            raise ValueError('left over: %r' % (self.tokens[self.i:],))
        return v

    def concat(self):
        v = self.sum()
        while self.peek()[1] == '&':
            self.take()
            v = text(v) + text(self.sum())
        return v

    def sum(self):
        v = self.product()
        while self.peek()[1] in ('+', '-'):
            op = self.take()[1]
            w = self.product()
            v = v + w if op == '+' else v - w
        return v

    def product(self):
        v = self.power()
        while self.peek()[1] in ('*', '/'):
            op = self.take()[1]
            w = self.power()
            if op == '/' and w == 0:
                raise ZeroDivisionError('#DIV/0!')
            v = v * w if op == '*' else v / w
        return v

    def power(self):
        v = self.unary()
        while self.peek()[1] == '^':
            self.take()
            w = self.unary()
            if v == 0 and w <= 0:
                raise ValueError('#NUM!')
            v = math.pow(v, w)
        return v

    def unary(self):
        # Excel's unary minus binds tighter than ^.
        if self.peek()[1] == '-':
            self.take()
            v = self.unary()
            return [-x for x in v] if isinstance(v, list) else -v
        return self.primary()

    def primary(self):
        kind, value = self.take()
        if kind == 'num':
            return float(value)
        if kind == 'str':
            return value[1:-1].replace('""', '"')
        if kind == 'cell':
            v = self.cells.get(value)
            return 0.0 if v is None else v
        if kind == 'range':
            a, b = value.split(':')
            ca, ra = re.match(r'([A-Z]+)(\d+)', a).groups()
            cb, rb = re.match(r'([A-Z]+)(\d+)', b).groups()
            assert ca == cb
            return [self.cells.get('%s%d' % (ca, r)) for r in range(int(ra), int(rb) + 1)]
        if value == '(':
            v = self.concat()
            self.take(')')
            return v
        if kind == 'name':
            if value in ('TRUE', 'FALSE') and self.peek()[1] != '(':
                return value == 'TRUE'
            self.take('(')
            args = []
            if self.peek()[1] != ')':
                args.append(self.concat())
                while self.peek()[1] == ',':
                    self.take()
                    args.append(self.concat())
            self.take(')')
            return call(value, args)
        raise ValueError('unexpected %r' % value)


def text(v):
    if isinstance(v, float):
        return repr(int(v)) if v == int(v) else repr(v)
    return '' if v is None else str(v)


def call(name, args):
    if name == 'ROUND':
        return excel_round(args[0], int(args[1]))
    if name == 'RADIANS':
        return args[0] * math.pi / 180
    if name in ('SIN', 'COS', 'TAN', 'SQRT', 'LN'):
        if name == 'SQRT' and args[0] < 0 or name == 'LN' and args[0] <= 0:
            raise ValueError('#NUM!')
        return {'SIN': math.sin, 'COS': math.cos, 'TAN': math.tan, 'SQRT': math.sqrt, 'LN': math.log}[name](args[0])
    if name == 'EXACT':
        a, b = args
        if isinstance(a, list):
            return [1.0 if text(x) == text(b) else 0.0 for x in a]
        return 1.0 if text(a) == text(b) else 0.0
    if name == 'SUMPRODUCT':
        a, b = args
        return sum((x if isinstance(x, float) else 0.0) * (y if isinstance(y, (int, float)) else 0.0)
                   for x, y in zip(a, b))
    if name == 'FIXED':
        d = int(args[1])
        q = Decimal(format(args[0], '.15g')).quantize(Decimal(1).scaleb(-d), rounding=ROUND_HALF_UP)
        if q == 0:
            q = abs(q)
        return format(q, 'f')
    raise ValueError('unknown function %s' % name)


def main(path):
    wb = openpyxl.load_workbook(path)
    cached = openpyxl.load_workbook(path, data_only=True)
    ws, wv = wb.worksheets[0], cached.worksheets[0]
    cells = {}
    for row in wv.iter_rows():
        for c in row:
            v = c.value
            cells[c.coordinate] = float(v) if isinstance(v, (int, float)) and not isinstance(v, bool) else v
    failures, count = [], 0
    for row in ws.iter_rows():
        for c in row:
            if c.data_type != 'f':
                continue
            count += 1
            want = cells.get(c.coordinate)
            try:
                got = Formula(str(c.value)[1:], cells).run()
            except (ValueError, ZeroDivisionError, AssertionError) as e:
                failures.append('%s %s: %s' % (c.coordinate, c.value, e))
                continue
            if isinstance(want, float):
                ok = isinstance(got, float) and abs(got - want) <= 1e-9 * max(1.0, abs(want))
            else:
                ok = text(got) == text(want)
            if not ok:
                failures.append('%s %s: gives %r, cached %r' % (c.coordinate, c.value, got, want))
    out = ['sheet %s %d' % (wv.title, wv.max_row)]
    for row in wv.iter_rows():
        out.append('\t'.join(text(c.value).replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')
                             for c in row).rstrip('\t'))
    out.append('formulas %d' % count)
    sys.stdout.write('\n'.join(out) + '\n')
    for f in failures:
        sys.stderr.write(f + '\n')
    return 1 if failures else 0


sys.exit(main(sys.argv[1]))
