#!/usr/bin/env python3
"""Writes the small workbooks of corpus/xlsx/ from the XML below (run from fuzz/)."""
import os
import zipfile

TYPES = ('<?xml version="1.0" encoding="UTF-8"?>'
         '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="xml" ContentType="application/xml"/></Types>')
WORKBOOK = ('<?xml version="1.0" encoding="UTF-8"?>'
            '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
            'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
            '<sheets><sheet name="Livsmedel" sheetId="1" r:id="rId1"/></sheets></workbook>')
RELS = ('<?xml version="1.0" encoding="UTF-8"?>'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" '
        'Target="worksheets/blad.xml"/>'
        '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" '
        'Target="sharedStrings.xml"/></Relationships>')
STRINGS = ('<?xml version="1.0" encoding="UTF-8"?>'
           '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
           '<si><t>Livsmedelsverkets livsmedelsdatabas version 2024-01-15</t></si>'
           '<si><t>Livsmedelsnamn</t></si><si><t>Livsmedelsnummer</t></si>'
           '<si><r><t>Energi </t></r><r><t>(kcal)</t></r></si><si><t>Banan</t><rPh><t>x</t></rPh></si></sst>')
SHEET = ('<?xml version="1.0" encoding="UTF-8"?>'
         '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
         '<row r="1"><c r="A1" t="s"><v>0</v></c></row>'
         '<row r="3"><c r="A3" t="s"><v>1</v></c><c r="B3" t="s"><v>2</v></c><c r="D3" t="s"><v>3</v></c></row>'
         '<row r="4"><c r="A4" t="s"><v>4</v></c><c r="B4"><v>1</v></c><c r="D4"><v>95</v></c></row>'
         '<row><c t="inlineStr"><is><t xml:space="preserve">Mjölk </t></is></c><c><v>2.0</v></c></row>'
         '</sheetData></worksheet>')
# No workbook part: the reader falls back on the usual sheet name and inline strings.
BARE_SHEET = ('<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
              '<row r="1"><c r="A1" t="inlineStr"><is><t>Livsmedelsnamn</t></is></c>'
              '<c r="B1" t="inlineStr"><is><t>Livsmedelsnummer</t></is></c></row>'
              '<row r="2"><c r="A2" t="inlineStr"><is><t>Gröt</t></is></c><c r="B2"><v>7</v></c></row>'
              '</sheetData></worksheet>')


def write(name, parts, method=zipfile.ZIP_DEFLATED):
    os.makedirs('corpus/xlsx', exist_ok=True)
    with zipfile.ZipFile(os.path.join('corpus/xlsx', name), 'w', method) as archive:
        for part, text in parts:
            info = zipfile.ZipInfo(part, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = method
            archive.writestr(info, text)


write('export.xlsx', [('[Content_Types].xml', TYPES), ('xl/workbook.xml', WORKBOOK),
                      ('xl/_rels/workbook.xml.rels', RELS), ('xl/sharedStrings.xml', STRINGS),
                      ('xl/worksheets/blad.xml', SHEET)])
write('bare-stored.xlsx', [('xl/worksheets/sheet1.xml', BARE_SHEET)], zipfile.ZIP_STORED)
