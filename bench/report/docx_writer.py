"""The python-docx side of the report benchmark.

dump DOC JSON: writes the paragraphs of DOC (alignment, runs with text, size,
bold and colour) to JSON; not timed.
write JSON DOCX: writes those paragraphs as a new document; timed as a whole
process, interpreter start and import included, as tiecalc-cli is.
"""
import json
import sys

import docx
from docx.shared import Pt, RGBColor


def dump(source, target):
    document = docx.Document(source)
    out = []
    for p in document.paragraphs:
        runs = []
        for r in p.runs:
            color = r.font.color
            rgb = str(color.rgb) if color is not None and color.type is not None and color.rgb else None
            runs.append({"text": r.text, "size": r.font.size.pt if r.font.size else None,
                         "bold": bool(r.bold), "color": rgb})
        out.append({"align": int(p.alignment) if p.alignment is not None else None, "runs": runs})
    with open(target, "w", encoding="utf-8") as f:
        json.dump(out, f, ensure_ascii=False)


def write(source, target):
    with open(source, encoding="utf-8") as f:
        paragraphs = json.load(f)
    document = docx.Document()
    for p in paragraphs:
        paragraph = document.add_paragraph()
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
    document.save(target)


if sys.argv[1] == "dump":
    dump(sys.argv[2], sys.argv[3])
else:
    write(sys.argv[2], sys.argv[3])
