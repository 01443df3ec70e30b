#!/usr/bin/python3
"""Reads an .xlsx workbook with openpyxl and prints what the tests check, one record per
line, fields separated by tabs (backslash, tab, line feed and carriage return escaped as
\\\\, \\t, \\n, \\r):

  sheet   <name> <max row> <max column> <frozen pane> <autofilter range>
  page    <sheet> <orientation> <paper size> <fit to page 0|1> <fit to width> <fit to height>
          <scale> <print title rows> <print title columns> <page order> <left margin>
          <right margin> <footer centre>
  merge   <sheet> <range>
  column  <sheet> <letter> <stored width> <number format>
  cell    <sheet> <ref> <type> <value> <bold 0|1> <font size> <font colour> <fill colour>
          <number format> <horizontal alignment>

type: s text, n number, d date-time, b boolean, empty for no value. Numbers are printed in
the shortest form that reads back to the same double. Texts have the file format's
_xHHHH_ escapes of control characters decoded, as the spreadsheet shows them. Colours are ARGB hex ("FFFF0000"),
"indexed:N" or "theme:N", empty when not set (fills: when there is no solid fill).
Page setup values the file leaves out are printed empty (the file format's defaults apply:
fit to width 1, fit to height 1, scale 100, page order downThenOver); margins in inches.
Only the cells stored in the file are listed. Exit status 1 when the file cannot be read.
"""
import re
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def esc(value):
    text = "" if value is None else str(value)
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def colour(color):
    if color is None:
        return ""
    if color.type == "rgb":
        return color.rgb
    if color.type == "indexed":
        return "indexed:%d" % color.indexed
    if color.type == "theme":
        return "theme:%d" % color.theme
    return ""


def value_of(value):
    if value is None:
        return "", ""
    if isinstance(value, bool):
        return "b", "1" if value else "0"
    if isinstance(value, (int, float)):
        return "n", repr(value)
    if hasattr(value, "isoformat"):
        return "d", value.isoformat(sep=" ")
    return "s", re.sub(r"_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), value)


def emit(*fields):
    print("\t".join(esc(f) for f in fields))


def dump(path):
    book = openpyxl.load_workbook(path)
    for sheet in book.worksheets:
        name = sheet.title
        emit("sheet", name, sheet.max_row, sheet.max_column, sheet.freeze_panes or "",
             sheet.auto_filter.ref or "")
        setup = sheet.page_setup
        fit = sheet.sheet_properties.pageSetUpPr
        emit("page", name, setup.orientation, setup.paperSize,
             1 if fit is not None and fit.fitToPage else 0, setup.fitToWidth, setup.fitToHeight,
             setup.scale, sheet.print_title_rows, sheet.print_title_cols, setup.pageOrder,
             sheet.page_margins.left, sheet.page_margins.right, sheet.oddFooter.center.text)
        for merged in sheet.merged_cells.ranges:
            emit("merge", name, merged.coord)
        for dim in sheet.column_dimensions.values():
            if dim.min is None:
                continue
            for index in range(dim.min, dim.max + 1):
                emit("column", name, get_column_letter(index),
                     repr(float(dim.width or 0)), dim.number_format)
        for (_, _), cell in sorted(sheet._cells.items()):
            kind, value = value_of(cell.value)
            fill = cell.fill
            fill_colour = colour(fill.fgColor) if fill.patternType == "solid" else ""
            emit("cell", name, cell.coordinate, kind, value, 1 if cell.font.b else 0,
                 repr(float(cell.font.sz or 0)), colour(cell.font.color), fill_colour,
                 cell.number_format, cell.alignment.horizontal or "")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: xlsx_reader.py WORKBOOK")
    try:
        dump(sys.argv[1])
    except Exception as error:  # any unreadable file is a failed check, with its reason
        sys.exit("%s: %s" % (sys.argv[1], error))
