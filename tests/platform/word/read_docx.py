"""Prints what an independent reader sees in a .docx, one line per item:

P <alignment> "<text>"                          a body paragraph
  R "<text>" <ascii>/<eastAsia> <pt> <rgb> b i u hl   each run
  MATH <structure>                              each equation: its math elements and texts
  PIC <content type> <bytes>                    each picture
FOOTER "<text>" <field codes>                   the footer of the last section

Usage: read_docx.py FILE
"""
import sys

import docx
from docx.oxml.ns import qn

M = "{http://schemas.openxmlformats.org/officeDocument/2006/math}"
R_EMBED = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}embed"


def flag(value):
    if value is None:
        return "-"
    if value is True:
        return "1"
    if value is False:
        return "0"
    return str(value).split(" ")[0]


def math_structure(node):
    tag = node.tag.replace(M, "")
    if tag == "t":
        return 't"%s"' % (node.text or "")
    inner = "".join(math_structure(child) for child in node if child.tag.startswith(M))
    return "%s(%s)" % (tag, inner) if inner else tag


def run_line(run):
    font = run.font
    fonts = run._element.rPr.rFonts if run._element.rPr is not None else None
    east = fonts.get(qn("w:eastAsia")) if fonts is not None else None
    size = "%g" % font.size.pt if font.size is not None else "-"
    color = str(font.color.rgb) if font.color.type is not None and font.color.rgb is not None else "-"
    return '  R "%s" %s/%s %s %s %s %s %s %s' % (
        run.text, font.name or "-", east or "-", size, color,
        flag(font.bold), flag(font.italic), flag(font.underline), flag(font.highlight_color))


def main(path):
    document = docx.Document(path)
    out = []
    for paragraph in document.paragraphs:
        out.append('P %s "%s"' % (flag(paragraph.alignment), paragraph.text))
        out.extend(run_line(run) for run in paragraph.runs)
        for math in paragraph._element.iter(M + "oMath"):
            out.append("  MATH " + math_structure(math))
        for blip in paragraph._element.iter(qn("a:blip")):
            part = document.part.related_parts[blip.get(R_EMBED)]
            out.append("  PIC %s %d" % (part.content_type, len(part.blob)))
    footer = document.sections[-1].footer
    if not footer.is_linked_to_previous:
        codes = [f.get(qn("w:instr")).strip() for f in footer._element.iter(qn("w:fldSimple"))]
        codes += [t.text.strip() for t in footer._element.iter(qn("w:instrText"))]
        text = "".join(p.text for p in footer.paragraphs)
        out.append('FOOTER "%s" %s' % (text, ",".join(codes)))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
