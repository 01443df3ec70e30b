#!/usr/bin/env python3
"""Compares two dumps of report_cells.sh as multisets of rows: for every workbook that differs,
whether it holds the same rows (every cell of a row with its value and format) in another
order, with the same sheet, merge and column lines. A change of tie order passes; a changed,
lost or added row does not.
  same_rows.py BEFORE_DIR AFTER_DIR      (exit 1 when some workbook holds other rows)"""
import os
import re
import sys
from collections import Counter, defaultdict

REF = re.compile(r"^([A-Z]+)(\d+)$")


def rows_and_rest(path):
    """The data rows (from row 4) as tuples of their cells without the reference, and the
    other lines as they are; the first row of data moves, so 'sheet' loses nothing else."""
    rows = defaultdict(list)
    rest = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if fields[0] == "cell":
                column, row = REF.match(fields[2]).groups()
                if int(row) >= 4:
                    rows[(fields[1], int(row))].append((column, tuple(fields[3:])))
                    continue
            rest.append(line)
    return Counter(tuple(cells) for cells in rows.values()), rest


def main():
    before, after = sys.argv[1], sys.argv[2]
    failed = 0
    for name in sorted(os.listdir(before)):
        a, b = os.path.join(before, name), os.path.join(after, name)
        with open(a, "rb") as f, open(b, "rb") as g:
            if f.read() == g.read():
                continue
        if not name.endswith(".cells"):
            print(f"{name}: differs")
            failed += 1
            continue
        rows_a, rest_a = rows_and_rest(a)
        rows_b, rest_b = rows_and_rest(b)
        same = rows_a == rows_b and rest_a == rest_b
        failed += not same
        moved = sum(rows_a.values())
        print(f"{name}: {'same rows in another order' if same else 'OTHER ROWS'} ({moved} rows)")
        if not same:
            for cells, n in (rows_a - rows_b).items():
                print("   only before:", " | ".join(c[1][1] for c in cells)[:200])
            for cells, n in (rows_b - rows_a).items():
                print("   only after: ", " | ".join(c[1][1] for c in cells)[:200])
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
