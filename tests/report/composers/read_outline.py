"""Prints the outline of a word-processing document as python-docx sees it,
one line per item, a no-break space shown as "~":

    P|style|page break before|keep with next|space after (pt)|text   each body paragraph
      LINK|anchor|text|field codes|shown page          each link in it (contents)
      MARK|name                                        each bookmark in it
    T|width|jc|borders|layout                         each table, then its rows:
      R|header|cantSplit|cell;cell..                   cell: text/colour/bold/alignment/underlined
    STYLE|name|numId.ilvl|outline level|keep with next|East Asian font|pt   each heading style
    LEVEL|ilvl|lvlText|pStyle                         each level of the list numbering
    FIELD|code                                        each field code outside the links
    UPDATE|value                                      settings' updateFields

Exits with 3 when python-docx is missing.
"""
import sys

try:
    import docx
    from docx.oxml.ns import qn
except ImportError:
    sys.exit(3)


def text(node):
    return "".join(t.text or "" for t in node.iter(qn("w:t"))).replace("\u00a0", "~")


def attr(node, path, name="w:val"):
    found = node.find(path) if node is not None else None
    return found.get(qn(name)) if found is not None else "-"


def paragraph_lines(p):
    style = p.style.name if p.style is not None else "-"
    pf = p.paragraph_format
    after = "%g" % pf.space_after.pt if pf.space_after is not None else "-"
    lines = ["P|%s|%s|%s|%s|%s" % (style, pf.page_break_before, pf.keep_with_next, after, text(p._p))]
    for mark in p._p.iter(qn("w:bookmarkStart")):
        lines.append("  MARK|" + mark.get(qn("w:name")))
    for link in p._p.iter(qn("w:hyperlink")):
        codes = ",".join(c.text.strip() for c in link.iter(qn("w:instrText")))
        runs = [r for r in link.iter(qn("w:r"))]
        label = text(runs[0]) if runs else ""
        page = text(runs[-2]) if len(runs) >= 2 else ""
        lines.append("  LINK|%s|%s|%s|%s" % (link.get(qn("w:anchor")), label, codes, page))
    return lines


def cell_text(cell):
    run = cell.paragraphs[0].runs[0] if cell.paragraphs[0].runs else None
    colour = str(run.font.color.rgb) if run is not None and run.font.color.type is not None else "-"
    bold = run.font.bold if run is not None else "-"
    under = cell._tc.find(qn("w:tcPr") + "/" + qn("w:tcBorders") + "/" + qn("w:bottom")) is not None
    return "%s/%s/%s/%s/%s" % (text(cell._tc), colour, bold, cell.paragraphs[0].alignment, int(under))


def table_lines(table):
    tblPr = table._tbl.tblPr
    lines = ["T|%s|%s|%d|%s" % (attr(tblPr, qn("w:tblW"), "w:w"), attr(tblPr, qn("w:jc")),
                                tblPr.find(qn("w:tblBorders")) is not None, attr(tblPr, qn("w:tblLayout"), "w:type"))]
    for row in table.rows:
        trPr = row._tr.trPr
        flags = ["1" if trPr is not None and trPr.find(qn(n)) is not None else "0" for n in ("w:tblHeader", "w:cantSplit")]
        lines.append("  R|%s|%s" % ("|".join(flags), ";".join(cell_text(c) for c in row.cells)))
    return lines


def main():
    document = docx.Document(sys.argv[1])
    out = []
    body = document.element.body
    paragraphs = {p._p: p for p in document.paragraphs}
    tables = {t._tbl: t for t in document.tables}
    for child in body:
        if child in paragraphs:
            out.extend(paragraph_lines(paragraphs[child]))
            linked = {c for link in child.iter(qn("w:hyperlink")) for c in link.iter(qn("w:instrText"))}
            out.extend("FIELD|" + c.text.strip() for c in child.iter(qn("w:instrText")) if c not in linked)
        elif child in tables:
            out.extend(table_lines(tables[child]))
    for level in (1, 2, 3):
        style = document.styles["Heading %d" % level]
        pPr = style.element.pPr
        numbering = "%s.%s" % (attr(pPr, qn("w:numPr") + "/" + qn("w:numId")), attr(pPr, qn("w:numPr") + "/" + qn("w:ilvl")))
        fonts = style.element.rPr.find(qn("w:rFonts"))
        out.append("STYLE|%s|%s|%s|%s|%s|%g" % (style.name, numbering, attr(pPr, qn("w:outlineLvl")),
                                               style.paragraph_format.keep_with_next, fonts.get(qn("w:eastAsia")),
                                               style.font.size.pt))
    for lvl in document.part.numbering_part.element.iter(qn("w:lvl")):
        out.append("LEVEL|%s|%s|%s" % (lvl.get(qn("w:ilvl")), attr(lvl, qn("w:lvlText")), attr(lvl, qn("w:pStyle"))))
    out.append("UPDATE|" + attr(document.settings.element, qn("w:updateFields")))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
