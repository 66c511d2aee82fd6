"""The python-docx side of the report benchmark.

dump DOC JSON: writes the paragraphs of DOC (alignment, runs with text, size,
bold and colour) to JSON, and its tables in their place (each cell's
paragraphs); not timed.
write JSON DOCX: writes those paragraphs and tables as a new document; timed as
a whole process, interpreter start and import included, as tiecalc-cli is.
paragraphs JSON DOCX: the same without the tables.
"""
import json
import sys

import docx
from docx.shared import Pt, RGBColor
from docx.table import Table
from docx.text.paragraph import Paragraph


def paragraph_of(p):
    runs = []
    for r in p.runs:
        color = r.font.color
        rgb = str(color.rgb) if color is not None and color.type is not None and color.rgb else None
        runs.append({"text": r.text, "size": r.font.size.pt if r.font.size else None,
                     "bold": bool(r.bold), "color": rgb})
    return {"align": int(p.alignment) if p.alignment is not None else None, "runs": runs}


def dump(source, target):
    document = docx.Document(source)
    out = []
    for block in document.element.body.iterchildren():
        tag = block.tag.rsplit("}", 1)[-1]
        if tag == "p":
            out.append(paragraph_of(Paragraph(block, document)))
        elif tag == "tbl":
            rows = [[[paragraph_of(p) for p in cell.paragraphs] for cell in row.cells]
                    for row in Table(block, document).rows]
            out.append({"table": rows})
    with open(target, "w", encoding="utf-8") as f:
        json.dump(out, f, ensure_ascii=False)


def add_runs(paragraph, p):
    if p["align"] is not None:
        paragraph.alignment = p["align"]
    for r in p["runs"]:
        run = paragraph.add_run(r["text"])
        run.font.name = "宋体"
        if r["size"]:
            run.font.size = Pt(r["size"])
        run.bold = r["bold"]
        if r["color"]:
            run.font.color.rgb = RGBColor.from_string(r["color"])


def write(source, target, tables=True):
    with open(source, encoding="utf-8") as f:
        paragraphs = json.load(f)
    document = docx.Document()
    for block in paragraphs:
        if "table" not in block:
            add_runs(document.add_paragraph(), block)
            continue
        if not tables:
            continue
        rows = block["table"]
        table = document.add_table(rows=len(rows), cols=len(rows[0]))
        table.style = "Table Grid"
        for cells, row in zip(rows, table.rows):
            for cell_paragraphs, cell in zip(cells, row.cells):
                for k, p in enumerate(cell_paragraphs):
                    add_runs(cell.paragraphs[0] if k == 0 else cell.add_paragraph(), p)
    document.save(target)


if sys.argv[1] == "dump":
    dump(sys.argv[2], sys.argv[3])
else:
    write(sys.argv[2], sys.argv[3], tables=sys.argv[1] == "write")
