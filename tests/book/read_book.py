"""Prints a word-processing document in body order as an independent reader
sees it: each paragraph as "p|bold|size|text" (bold 1 when any run is bold,
size the largest run size in points, runs in a colour other than black as
{RRGGBB:text}), a paragraph in a heading style as "h|level|text", each table
row as "row|cell|cell|...", then "footer|text"
for each footer paragraph that has a page-number field as "footer|PAGE".
Exits with 3 when python-docx is missing.
"""
import os
import sys

try:
    import docx
    from docx.table import Table
    from docx.text.paragraph import Paragraph
except ImportError:
    sys.exit(3)

# The run texts as the report reader writes them.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "report", "composers"))
from read_report import run_text  # noqa: E402


def main():
    document = docx.Document(sys.argv[1])
    out = []
    for child in document.element.body.iterchildren():
        tag = child.tag.rsplit("}", 1)[-1]
        if tag == "p":
            p = Paragraph(child, document)
            style = p.style.name if p.style is not None else ""
            if style.startswith("Heading "):
                out.append("h|%s|%s" % (style[len("Heading "):], p.text))
                continue
            bold = any(r.bold for r in p.runs)
            sizes = [r.font.size.pt for r in p.runs if r.font.size is not None]
            size = ("%g" % max(sizes)) if sizes else ""
            text = "".join(run_text(r) for r in p.runs).replace("\n", "\\n").replace("\r", "\\r")
            out.append("p|%d|%s|%s" % (1 if bold else 0, size, text))
        elif tag == "tbl":
            for row in Table(child, document).rows:
                out.append("row|" + "|".join(cell.text for cell in row.cells))
    for section in document.sections:
        for p in section.footer.paragraphs:
            fields = p._p.xpath(".//w:instrText/text() | .//w:fldSimple/@w:instr")
            out.append("footer|" + ("PAGE" if any("PAGE" in f for f in fields) else p.text))
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


main()
