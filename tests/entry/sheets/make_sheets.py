#!/usr/bin/python3
"""Writes the spreadsheet files the sheet reader's tests read, with third-party writers: openpyxl for
.xlsx and odfpy for .ods (Debian's python3-openpyxl and python3-odf), and a few damaged ones.

    make_sheets.py OUTPUT_FOLDER
"""
import datetime
import os
import struct
import sys
import zipfile

import openpyxl
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell, CoveredTableCell, TableColumn, TableHeaderRows
from odf.text import P, S, LineBreak
from odf.office import Annotation
from odf.style import Style
from odf import number


def write_xlsx(path, epoch_1904=False):
    book = openpyxl.Workbook()
    if epoch_1904:
        book.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    sheet = book.active
    sheet.title = "価格表"
    rows = [
        ("品名", "単価", "率", "円", "日付", "時刻", "日時", "式", "真偽"),
    ]
    for row in rows:
        sheet.append(row)
    sheet["A2"] = "りんご"
    sheet["B2"] = 1234567.891
    sheet["B2"].number_format = "#,##0.00"
    sheet["C2"] = 0.125
    sheet["C2"].number_format = "0.0%"
    sheet["D2"] = 1500
    sheet["D2"].number_format = '"¥"#,##0'
    sheet["E2"] = datetime.date(2024, 5, 1)
    sheet["F2"] = datetime.time(9, 5, 59)
    sheet["G2"] = datetime.datetime(2024, 12, 31, 23, 45)
    sheet["H2"] = "=B2*2"
    sheet["I2"] = True
    sheet["A3"] = 0.1 + 0.2
    sheet["B3"] = -1234.5
    sheet["B3"].number_format = "#,##0;[Red]-#,##0"
    sheet["C3"] = 0.07
    sheet["C3"].number_format = "0%"
    sheet["D3"] = -1500
    sheet["D3"].number_format = "[$¥-411]#,##0"
    sheet["E3"] = 2.5
    sheet["E3"].number_format = "0.00"
    sheet["F3"] = 1e20
    sheet["G3"] = 1234567
    sheet["G3"].number_format = "#,##0,"
    sheet["H3"] = 0.5
    sheet["H3"].number_format = "0.##"
    sheet["I3"] = False
    sheet.merge_cells("A4:C5")
    sheet["A4"] = "結合"
    sheet["A6"] = "隠れた行"
    sheet.row_dimensions[6].hidden = True
    sheet.column_dimensions["J"].hidden = True
    sheet["J8"] = "  空白と\n改行  "
    second = book.create_sheet("3")
    second["A1"] = "二枚目"
    third = book.create_sheet("空")
    book.save(path)


def write_ods(path):
    doc = OpenDocumentSpreadsheet()
    styles = doc.automaticstyles

    def data_style(element, name, *children):
        style = element(name=name)
        for child in children:
            style.addElement(child)
        styles.addElement(style)

    data_style(number.NumberStyle, "N1", number.Number(decimalplaces="2", minintegerdigits="1", grouping="true"))
    data_style(number.PercentageStyle, "P1", number.Number(decimalplaces="1", minintegerdigits="1"),
               number.Text(text="%"))
    data_style(number.CurrencyStyle, "C1", number.CurrencySymbol(language="ja", country="JP", text="¥"),
               number.Number(decimalplaces="0", minintegerdigits="1", grouping="true"))
    data_style(number.DateStyle, "D1", number.Year(style="long"), number.Text(text="/"),
               number.Month(style="long"), number.Text(text="/"), number.Day(style="long"))
    for name, data in (("ce1", "N1"), ("ce2", "P1"), ("ce3", "C1"), ("ce4", "D1")):
        styles.addElement(Style(name=name, family="table-cell", datastylename=data))

    table = Table(name="シート1")
    table.addElement(TableColumn(numbercolumnsrepeated="2"))
    table.addElement(TableColumn(visibility="collapse"))
    row = TableRow()

    def cell(target, text=None, **attributes):
        element = TableCell(**attributes)
        if text is not None:
            element.addElement(P(text=text))
        target.addElement(element)
        return element

    cell(row, "品名", valuetype="string")
    cell(row, "1,234,567.89", valuetype="float", value="1234567.891", stylename="ce1")
    cell(row, "12.5%", valuetype="percentage", value="0.125", stylename="ce2")
    cell(row, "¥1,500", valuetype="currency", currency="JPY", value="1500", stylename="ce3")
    cell(row, "2024/05/01", valuetype="date", datevalue="2024-05-01", stylename="ce4")
    cell(row, "09:05", valuetype="time", timevalue="PT09H05M59S")
    cell(row, "2469135.782", valuetype="float", value="2469135.782", formula="of:=[.B1]*2")
    cell(row, "TRUE", valuetype="boolean", booleanvalue="true")
    cell(row, "2024-12-31 23:45", valuetype="date", datevalue="2024-12-31T23:45:00")
    header = TableHeaderRows()  # rows repeated on every printed page: rows like the others
    header.addElement(row)
    table.addElement(header)
    row = TableRow()
    cell(row, "0.3", valuetype="float", value="0.3")
    spaced = cell(row, None, valuetype="string")
    paragraph = P(text="a")
    paragraph.addElement(S(c="3"))
    paragraph.addText("b")
    paragraph.addElement(LineBreak())
    paragraph.addText("c")
    spaced.addElement(paragraph)
    spaced.addElement(P(text="d"))
    noted = cell(row, None, valuetype="string")
    note = Annotation()
    note.addElement(P(text="メモ"))
    noted.addElement(note)
    noted.addElement(P(text="注記つき"))
    table.addElement(row)
    row = TableRow()
    cell(row, "結合", valuetype="string", numbercolumnsspanned="3", numberrowsspanned="2")
    covered = CoveredTableCell(valuetype="string")
    covered.addElement(P(text="隠れた内容"))
    row.addElement(covered)
    row.addElement(CoveredTableCell())
    table.addElement(row)
    row = TableRow()
    row.addElement(CoveredTableCell(numbercolumnsrepeated="3"))
    table.addElement(row)
    row = TableRow(visibility="collapse")
    cell(row, "隠れた行", valuetype="string")
    table.addElement(row)
    row = TableRow(numberrowsrepeated="3")
    cell(row, "繰り返し", valuetype="string", numbercolumnsrepeated="2")
    table.addElement(row)
    row = TableRow(numberrowsrepeated="1048560")
    row.addElement(TableCell(numbercolumnsrepeated="1024"))
    table.addElement(row)
    doc.spreadsheet.addElement(table)
    second = Table(name="2")
    row = TableRow()
    cell(row, "二枚目", valuetype="string")
    second.addElement(row)
    doc.spreadsheet.addElement(second)
    doc.save(path)


def write_repeated(path, rows, columns):
    """One row of `columns` cells "x", repeated `rows` times, then a row "after"."""
    doc = OpenDocumentSpreadsheet()
    table = Table(name="repeated")
    row = TableRow(numberrowsrepeated=str(rows))
    cell = TableCell(valuetype="string", numbercolumnsrepeated=str(columns))
    cell.addElement(P(text="x"))
    row.addElement(cell)
    table.addElement(row)
    row = TableRow()
    cell = TableCell(valuetype="string")
    cell.addElement(P(text="after"))
    row.addElement(cell)
    table.addElement(row)
    doc.spreadsheet.addElement(table)
    doc.save(path)


def write_emoji(path):
    book = openpyxl.Workbook()
    book.active.append(["fine", "ok"])
    book.active.append(["good", "smile \U0001F600"])
    book.save(path)


def write_wide(path, rows, columns):
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("wide")
    for r in range(rows):
        sheet.append([f"r{r}c{c}" if c % 2 == 0 else r * 1000 + c + 0.25 for c in range(columns)])
    book.save(path)


def patch_sizes(source, target, name, declared):
    """Copies a zip, the entry `name` declaring `declared` expanded bytes in both its headers."""
    data = bytearray(open(source, "rb").read())
    with zipfile.ZipFile(source) as archive:
        info = archive.getinfo(name)
    local = info.header_offset
    struct.pack_into("<I", data, local + 22, declared)
    position = 0
    while True:
        position = data.find(b"PK\x01\x02", position)
        if position < 0:
            break
        length = struct.unpack_from("<H", data, position + 28)[0]
        if data[position + 46:position + 46 + length].decode() == name:
            struct.pack_into("<I", data, position + 24, declared)
        position += 4
    open(target, "wb").write(bytes(data))


def write_damaged(folder):
    good = os.path.join(folder, "values.xlsx")
    data = open(good, "rb").read()
    open(os.path.join(folder, "truncated.xlsx"), "wb").write(data[: len(data) // 2])
    with zipfile.ZipFile(good) as source, zipfile.ZipFile(os.path.join(folder, "bad-xml.xlsx"), "w") as target:
        for item in source.infolist():
            content = source.read(item.filename)
            if item.filename == "xl/worksheets/sheet1.xml":
                content = content.replace(b"</sheetData>", b"<row>")
            target.writestr(item, content)
    patch_sizes(good, os.path.join(folder, "short-declared.xlsx"), "xl/worksheets/sheet1.xml", 100)
    with zipfile.ZipFile(good) as source:
        actual = source.getinfo("xl/worksheets/sheet1.xml").file_size
    patch_sizes(good, os.path.join(folder, "long-declared.xlsx"), "xl/worksheets/sheet1.xml", actual + 1000)
    # Rows around the most a table holds, given by their numbers.
    with zipfile.ZipFile(good) as source, zipfile.ZipFile(os.path.join(folder, "far-rows.xlsx"), "w") as target:
        for item in source.infolist():
            content = source.read(item.filename)
            if item.filename == "xl/worksheets/sheet1.xml":
                rows = b"".join(b'<row r="%d"><c r="A%d" t="inlineStr"><is><t>%d</t></is></c></row>' % (r, r, r)
                                for r in (65534, 65535, 65536, 65537))
                content = content.replace(b"</sheetData>", rows + b"</sheetData>")
            target.writestr(item, content)
    # Texts left in the cells a merged cell covers, as some writers keep them: not shown, not read.
    with zipfile.ZipFile(good) as source, zipfile.ZipFile(os.path.join(folder, "merged-texts.xlsx"), "w") as target:
        for item in source.infolist():
            content = source.read(item.filename)
            if item.filename == "xl/worksheets/sheet1.xml":
                content = content.replace(b'<row r="5"></row>',
                                          b'<row r="5"><c r="C5" t="inlineStr"><is><t>covered</t></is></c></row>')
            target.writestr(item, content)
    with zipfile.ZipFile(os.path.join(folder, "document.zip"), "w") as target:
        target.writestr("readme.txt", "not a workbook")
    with zipfile.ZipFile(os.path.join(folder, "text.odt"), "w") as target:
        target.writestr("mimetype", "application/vnd.oasis.opendocument.text")
        target.writestr("content.xml", "<x/>")
    with zipfile.ZipFile(os.path.join(folder, "locked.ods"), "w") as target:
        target.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
        target.writestr("META-INF/manifest.xml",
                        '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">'
                        '<manifest:file-entry manifest:full-path="content.xml"><manifest:encryption-data/>'
                        "</manifest:file-entry></manifest:manifest>")
        target.writestr("content.xml", os.urandom(64))
    compound = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(500) + "EncryptedPackage".encode("utf-16-le") + bytes(64)
    open(os.path.join(folder, "locked.xlsx"), "wb").write(compound)
    open(os.path.join(folder, "old.xls"), "wb").write(b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(600))
    # An archive expanding past the reader's bound: a sheet of 300 MB of blanks, about 300 KB packed.
    with zipfile.ZipFile(good) as source, zipfile.ZipFile(os.path.join(folder, "bomb.xlsx"), "w",
                                                          zipfile.ZIP_DEFLATED) as target:
        for item in source.infolist():
            if item.filename != "xl/worksheets/sheet1.xml":
                target.writestr(item, source.read(item.filename))
        with target.open("xl/worksheets/sheet1.xml", "w", force_zip64=False) as sheet:
            block = b" " * (1 << 20)
            for _ in range(300):
                sheet.write(block)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_xlsx(os.path.join(folder, "values.xlsx"))
    write_xlsx(os.path.join(folder, "values-1904.xlsx"), epoch_1904=True)
    write_ods(os.path.join(folder, "values.ods"))
    write_wide(os.path.join(folder, "wide.xlsx"), 3, 53)
    write_repeated(os.path.join(folder, "rows.ods"), 70000, 1)
    write_repeated(os.path.join(folder, "cells.ods"), 65535, 100)
    write_emoji(os.path.join(folder, "emoji.xlsx"))
    write_damaged(folder)


if __name__ == "__main__":
    main()
