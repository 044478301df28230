#!/usr/bin/env python3
"""Prints every cell of a workbook, one per line: sheet!cell=n:number, b:True or b:False, or
s:text."""
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            if isinstance(cell.value, bool):
                print(f"{sheet.title}!{cell.coordinate}=b:{cell.value}")
                continue
            kind = "n" if isinstance(cell.value, (int, float)) else "s"
            value = repr(float(cell.value)) if kind == "n" else str(cell.value)
            print(f"{sheet.title}!{cell.coordinate}={kind}:{value}")
