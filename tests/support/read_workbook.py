#!/usr/bin/env python3
"""Reads a workbook with openpyxl, a reader independent of the one that wrote
it, and prints what the tests check as JSON: for each sheet its name, frozen
cell, filter range, column widths and cells. A cell is its type ("n" number,
"s" text, "f" formula), its value (the formula for "f"), the value cached
with a formula, its number format and its fill colour."""
import json
import sys

import openpyxl


def sheet(formulas, values):
    rows = []
    for row_f, row_v in zip(formulas.iter_rows(), values.iter_rows()):
        cells = []
        for f, v in zip(row_f, row_v):
            fill = f.fill.fgColor.rgb if f.fill is not None and f.fill.fill_type == "solid" else None
            cells.append({
                "type": f.data_type,
                "value": f.value,
                "cached": v.value,
                "format": f.number_format,
                "fill": fill if isinstance(fill, str) else None,
                "bold": bool(f.font and f.font.b),
            })
        rows.append(cells)
    widths = {}
    for letter, dimension in formulas.column_dimensions.items():
        if dimension.width:
            widths[letter] = dimension.width
    return {
        "name": formulas.title,
        "freeze": formulas.freeze_panes,
        "filter": formulas.auto_filter.ref,
        "widths": widths,
        "rows": rows,
    }


def main():
    path = sys.argv[1]
    formulas = openpyxl.load_workbook(path, data_only=False)
    values = openpyxl.load_workbook(path, data_only=True)
    sheets = [sheet(f, v) for f, v in zip(formulas.worksheets, values.worksheets)]
    json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main()
