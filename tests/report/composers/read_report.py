"""Prints the paragraphs of a word-processing document as an independent
reader sees them, one line each:

    alignment|bold|size|text

alignment is left, center, right or justify (left when not set), bold is 1
when any run is bold, size the largest run size in points (empty when no
run sets one). Runs in a colour other than black are written {RRGGBB:text}.
A line "footer|text" follows for each footer paragraph of the sections.
Exits with 3 when python-docx is missing.
"""
import sys

try:
    import docx
    from docx.enum.text import WD_ALIGN_PARAGRAPH
except ImportError:
    sys.exit(3)

ALIGN = {
    None: "left",
    WD_ALIGN_PARAGRAPH.LEFT: "left",
    WD_ALIGN_PARAGRAPH.CENTER: "center",
    WD_ALIGN_PARAGRAPH.RIGHT: "right",
    WD_ALIGN_PARAGRAPH.JUSTIFY: "justify",
}


def run_text(run):
    color = run.font.color
    rgb = str(color.rgb) if color is not None and color.type is not None and color.rgb is not None else None
    if rgb and rgb != "000000":
        return "{%s:%s}" % (rgb, run.text)
    return run.text


def main():
    document = docx.Document(sys.argv[1])
    out = []
    for p in document.paragraphs:
        bold = any(r.bold for r in p.runs)
        sizes = [r.font.size.pt for r in p.runs if r.font.size is not None]
        size = ("%g" % max(sizes)) if sizes else ""
        text = "".join(run_text(r) for r in p.runs).replace("\n", "\\n").replace("\r", "\\r")
        out.append("%s|%d|%s|%s" % (ALIGN.get(p.alignment, str(p.alignment)), 1 if bold else 0, size, text))
    for section in document.sections:
        for p in section.footer.paragraphs:
            out.append("footer|" + p.text)
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
