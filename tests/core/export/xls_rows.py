#!/usr/bin/python3
"""Reads an .xls workbook with xlrd and prints its first worksheet: a line
"sheet NAME ROWS", then one line per row, cells tab-separated (tab, line
feed and backslash escaped as \\t, \\n, \\\\)."""
import sys

import xlrd


def text(value):
    if isinstance(value, float):
        value = repr(int(value)) if value == int(value) else repr(value)
    return str(value).replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')


book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_index(0)
out = ['sheet %s %d' % (sheet.name, sheet.nrows)]
for r in range(sheet.nrows):
    out.append('\t'.join(text(v) for v in sheet.row_values(r)).rstrip('\t'))
sys.stdout.write('\n'.join(out) + '\n')
