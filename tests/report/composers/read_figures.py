"""Prints each picture of a word-processing document as python-docx sees it,
one line each:

    name|printed width in cm|dots per inch at that width|text of the next paragraph

Exits with 3 when python-docx is missing.
"""
import struct
import sys

try:
    import docx
    from docx.oxml.ns import qn
except ImportError:
    sys.exit(3)


def main():
    document = docx.Document(sys.argv[1])
    paragraphs = document.paragraphs
    for index, paragraph in enumerate(paragraphs):
        for inline in paragraph._p.iter(qn("wp:inline")):
            width = int(inline.find(qn("wp:extent")).get("cx"))
            name = inline.find(qn("wp:docPr")).get("name")
            blip = inline.find(".//" + qn("a:blip"))
            image = document.part.related_parts[blip.get(qn("r:embed"))].blob
            pixels = struct.unpack(">I", image[16:20])[0]
            inches = width / 914400.0
            following = paragraphs[index + 1].text if index + 1 < len(paragraphs) else ""
            print("%s|%.2f|%.0f|%s" % (name, inches * 2.54, pixels / inches, following))


main()
