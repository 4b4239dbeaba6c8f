#!/usr/bin/python3
"""The baseline of bench_xls: python3-xlwt writes the same cells as our writer.

Usage: xlwt_baseline.py ROWS OUTPUT.xls
Prints {"build": seconds, "save": seconds, "cpu": seconds, "size": bytes} as JSON (build and
save are wall seconds; cpu is the CPU time of both together). The cells follow the same
rule as bench/xls/BenchXls.cpp: 17 columns of Chinese text, amounts and codes, thin borders all
round, 宋体 for texts and bold Arial for numbers, at most 50 000 rows per sheet.
"""
import json
import os
import sys
import time

import xlwt

WORDS = ["食品", "饮料", "日用百货", "家电", "服装鞋帽", "生鲜", "粮油", "文具"]
COLUMNS = 17
ROWS_PER_SHEET = 50000


def value(row, column):
    kind = column % 4
    if kind == 0:
        return "%s%d号" % (WORDS[(row + column) % len(WORDS)], row)
    if kind == 1:
        return ((row * 37 + column * 11) % 1000000) / 100.0
    if kind == 2:
        return float(row % 1000)
    return "供应商 %d “%s”" % (column, WORDS[row % len(WORDS)])


def style(font_name, bold):
    s = xlwt.XFStyle()
    f = xlwt.Font()
    f.name = font_name
    f.bold = bold
    f.height = 200
    s.font = f
    b = xlwt.Borders()
    b.left = b.right = b.top = b.bottom = xlwt.Borders.THIN
    s.borders = b
    return s


def main():
    rows = int(sys.argv[1])
    path = sys.argv[2]
    text_style = style("宋体", False)
    number_style = style("Arial", True)
    cpu = time.process_time()
    start = time.perf_counter()
    book = xlwt.Workbook(encoding="utf-8")
    sheet = None
    for r in range(rows):
        if r % ROWS_PER_SHEET == 0:
            sheet = book.add_sheet("Sheet%d" % (r // ROWS_PER_SHEET + 1))
        row = sheet.row(r % ROWS_PER_SHEET)
        for c in range(COLUMNS):
            v = value(r, c)
            row.write(c, v, number_style if c % 4 in (1, 2) else text_style)
        if r % 1000 == 999:
            sheet.flush_row_data()
    built = time.perf_counter()
    book.save(path)
    saved = time.perf_counter()
    cpu = time.process_time() - cpu
    json.dump({"build": built - start, "save": saved - built, "cpu": cpu,
               "size": os.path.getsize(path)}, sys.stdout)


if __name__ == "__main__":
    main()
