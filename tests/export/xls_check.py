#!/usr/bin/python3
"""Reads a workbook with xlrd (formatting on) and olefile and prints what they see as JSON.

Usage: xls_check.py FILE [--no-cells]
       xls_check.py --stream FILE   (only the container: streams, size, SHA-1 of "Workbook")
The C++ tests compare this view of our files with what they put in. olefile is asked to
raise on anything incorrect in the container, not only on what it cannot read.
"""
import hashlib
import json
import sys

import olefile
import xlrd


def cell_value(cell):
    if cell.ctype == xlrd.XL_CELL_NUMBER:
        return cell.value
    if cell.ctype == xlrd.XL_CELL_TEXT:
        return cell.value
    return None


def container(path):
    ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_INCORRECT)
    data = ole.openstream("Workbook").read()
    out = {
        "streams": ["/".join(entry) for entry in ole.listdir(streams=True, storages=True)],
        "size": ole.get_size("Workbook"),
        "read": len(data),
        "sha1": hashlib.sha1(data).hexdigest(),
        "sector_size": ole.sector_size,
    }
    ole.close()
    return out


def main():
    if sys.argv[1] == "--stream":
        json.dump(container(sys.argv[2]), sys.stdout)
        return
    path = sys.argv[1]
    with_cells = "--no-cells" not in sys.argv[2:]
    out = {}

    ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_INCORRECT)
    out["streams"] = ["/".join(entry) for entry in ole.listdir(streams=True, storages=True)]
    out["workbook_size"] = ole.get_size("Workbook") if ole.exists("Workbook") else -1
    ole.close()

    book = xlrd.open_workbook(path, formatting_info=True, on_demand=False)
    out["user_name"] = book.user_name
    out["fonts"] = [
        {
            "name": f.name,
            "height": f.height,
            "weight": f.weight,
            "italic": bool(f.italic),
            "underline": f.underline_type,
            "struck_out": bool(f.struck_out),
            "colour_index": f.colour_index,
            "charset": f.character_set,
        }
        for f in book.font_list
    ]
    out["xfs"] = []
    for xf in book.xf_list:
        a, b, bg = xf.alignment, xf.border, xf.background
        out["xfs"].append(
            {
                "font": xf.font_index,
                "hor": a.hor_align,
                "vert": a.vert_align,
                "wrap": a.text_wrapped,
                "rot": a.rotation,
                "styles": [b.left_line_style, b.right_line_style, b.top_line_style, b.bottom_line_style],
                "colours": [b.left_colour_index, b.right_colour_index, b.top_colour_index,
                            b.bottom_colour_index],
                "pattern": bg.fill_pattern,
                "fg": bg.pattern_colour_index,
                "bg": bg.background_colour_index,
            }
        )
    out["colour_map"] = {str(k): list(v) if v else None for k, v in book.colour_map.items()}
    sheets = []
    for sh in book.sheets():
        s = {
            "name": sh.name,
            "nrows": sh.nrows,
            "ncols": sh.ncols,
            "merged": [list(m) for m in sh.merged_cells],
            "colwidths": {str(c): info.width for c, info in sh.colinfo_map.items()},
            "rowheights": {str(r): info.height for r, info in sh.rowinfo_map.items()},
            "pagebreaks": [b[0] for b in sh.horizontal_page_breaks],
        }
        if with_cells:
            cells = []
            for r in range(sh.nrows):
                for c in range(sh.row_len(r)):
                    cell = sh.cell(r, c)
                    if cell.ctype == xlrd.XL_CELL_EMPTY:
                        continue
                    cells.append([r, c, cell.ctype, cell_value(cell), cell.xf_index])
            s["cells"] = cells
        sheets.append(s)
    out["sheets"] = sheets
    json.dump(out, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
