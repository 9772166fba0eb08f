#!/usr/bin/python3
"""Wrote the small spreadsheet files committed in tests/fuzz/corpus/sheet_file/ (once, with Debian 12's
python3-openpyxl 3.0.9 and python3-odf 1.4.2): number and date formats, merged cells, a second sheet.

    make_committed.py OUTPUT_FOLDER
"""
import datetime, sys, openpyxl
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell, CoveredTableCell
from odf.text import P
from odf.style import Style
from odf import number
out = sys.argv[1]
book = openpyxl.Workbook()
sheet = book.active
sheet.title = "formats"
sheet["A1"] = 1234.5; sheet["A1"].number_format = "#,##0.00"
sheet["B1"] = 0.25; sheet["B1"].number_format = "0%"
sheet["C1"] = datetime.date(2024, 2, 29)
sheet["D1"] = 2000; sheet["D1"].number_format = '[$¥-411]#,##0;[Red]\\-[$¥-411]#,##0'
sheet.merge_cells("A2:B3"); sheet["A2"] = "merged"
book.create_sheet("2")["A1"] = "two"
book.save(out + "/formats.xlsx")
doc = OpenDocumentSpreadsheet()
ds = number.DateStyle(name="D1"); ds.addElement(number.Year(style="long")); ds.addElement(number.Text(text="/")); ds.addElement(number.Month(style="long")); doc.automaticstyles.addElement(ds)
ns = number.NumberStyle(name="N1"); ns.addElement(number.Number(decimalplaces="1", minintegerdigits="1", grouping="true")); doc.automaticstyles.addElement(ns)
doc.automaticstyles.addElement(Style(name="ce1", family="table-cell", datastylename="D1"))
doc.automaticstyles.addElement(Style(name="ce2", family="table-cell", datastylename="N1"))
t = Table(name="formats"); r = TableRow()
c = TableCell(valuetype="date", datevalue="2024-02-29", stylename="ce1"); c.addElement(P(text="2024/02")); r.addElement(c)
c = TableCell(valuetype="float", value="1234.56", stylename="ce2"); c.addElement(P(text="1,234.6")); r.addElement(c)
c = TableCell(valuetype="string", numbercolumnsspanned="2", numberrowsspanned="2"); c.addElement(P(text="merged")); r.addElement(c)
r.addElement(CoveredTableCell()); t.addElement(r)
r = TableRow(numberrowsrepeated="2"); c = TableCell(valuetype="string", numbercolumnsrepeated="2"); c.addElement(P(text="rep")); r.addElement(c); t.addElement(r)
doc.spreadsheet.addElement(t)
t = Table(name="2"); r = TableRow(); c = TableCell(valuetype="string"); c.addElement(P(text="two")); r.addElement(c); t.addElement(r); doc.spreadsheet.addElement(t)
doc.save(out + "/formats.ods")
