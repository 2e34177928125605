#!/usr/bin/env python3
"""Number formats as openpyxl writes them (built-in ids and its own codes):
a row per case, the format code, the number, and the number in that format.
A second workbook has a column of formulas without saved results, as openpyxl
writes every formula."""
import sys

import openpyxl

wb = openpyxl.Workbook()
ws = wb.active
ws.title = "格式"
ws.append(["格式", "值", "显示"])
cases = [
    ("General", 45367), ("General", 1.5), ("General", 0.1 + 0.2), ("General", 123456789012), ("General", -0.000012345),
    ("0", 2.5), ("0", -2.5), ("0.00", 1.5), ("0.00", 12.345), ("#,##0", 1234567.8), ("#,##0.00", -1234.5),
    ("0%", 0.125), ("0.00%", 1), ("0.00E+00", 12345), ("0.0%", 0.1234),
    ("mm-dd-yy", 45367), ("d-mmm-yy", 45367), ("d-mmm", 45367), ("mmm-yy", 45367),
    ("h:mm AM/PM", 0.75), ("h:mm:ss AM/PM", 0.3369097222222222), ("h:mm", 0.3369097222222222), ("h:mm:ss", 0.3369097222222222),
    ("m/d/yy h:mm", 45367.5), ("mm:ss", 0.0123), ("[h]:mm:ss", 1.5), ("mm:ss.0", 0.00012),
    ("yyyy-mm-dd", 45367), ("yyyy/m/d", 45367), ('yyyy"年"m"月"d"日"', 45367), ("hh:mm", 0.5), ("0.000", 3.14159),
    ("#,##0.00;[Red]-#,##0.00", -5), ("00000", 42), ('"W"000', 7), ("#,##0 ;(#,##0)", -1234), ("0.00;-0.00;\"零\"", 0),
    ("dd.mm.yyyy", 45367), ("dddd, mmmm d, yyyy", 45367), ("yyyy-mm-dd hh:mm:ss", 45367.3369097222222222), ("# ?/?", 1.25),
    ("ddd", 45367), ("mmmm", 45367), ("mmmmm", 45367), ("[$-409]d-mmm-yy", 45367), ("[$-409]h:mm AM/PM", 0.75), ("yy/mm/dd", 45367),
    ("[$-804]yyyy年m月d日", 45367), ("[$¥-804]#,##0.00", 1234.5), ("yyyy-mm-dd", 1), ("yyyy-mm-dd", 60), ("yyyy-mm-dd", 61), ("0.00_);(0.00)", 3), ("#,##0.00 \"m\"", 12),
    ("General", 1e20), ("General", 123456.7890123456), ("General", 1234567890123456789), ("0", 1e16), ("General", 0.0000001),
    ("0.0", 0.05), ("0.0", 0.15), ("0.0", 0.25), ("#,##0.0,", 1234567), ("@", 42.5),
]
for code, value in cases:
    ws.append([code, value, value])
    ws.cell(row=ws.max_row, column=3).number_format = code
wb.save(sys.argv[1])

wb = openpyxl.Workbook()
ws = wb.active
ws.append(["线号", "起点", "终点", "长度", "两倍"])
ws.append(["W001", "X1:1", "K1:A1", 1.5, "=D2*2"])
ws.append(["W002", "X1:2", "K1:A2", 2, "=D3*2"])
wb.save(sys.argv[2])
