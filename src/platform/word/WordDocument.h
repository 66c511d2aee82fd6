#pragma once
// A word-processing document written from start to end: a package whose main
// part is kept as an XML tree, and an insertion point in it where text is
// typed, tables are made and other packages (the report fragments, a figure)
// are spliced in. Stored as an Office Open XML package, whatever the file's
// extension, so no office suite is needed.
//
// The insertion point lies inside one paragraph, after a given inline node
// (or at the paragraph's start). Text takes the current character format;
// a paragraph mark carries it too (it fixes the height of an empty line).

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "platform/word/ZipPackage.h"

namespace tiecalc {

// Character formatting; an empty field is inherited from the styles.
struct RunFormat {
  std::optional<std::string> font;  // one face for Latin and CJK text
  std::optional<double> size;       // points
  std::optional<uint32_t> color;    // 0xRRGGBB
  std::optional<bool> bold;
  std::optional<bool> italic;
  std::optional<bool> underline;  // single, or none

  // Takes every field that other sets.
  void Merge(const RunFormat& other);
  bool operator==(const RunFormat&) const = default;
};

enum class Alignment { Left, Center, Right, Justify };

// One cell of a laid-out table (InsertTable with a TableLayout).
struct TableCell {
  TableCell(std::string text = {}) : text(std::move(text)) {}  // NOLINT: a text is a plain cell
  TableCell(const char* text) : text(text) {}                   // NOLINT
  TableCell(std::string text, RunFormat format) : text(std::move(text)), format(std::move(format)) {}

  std::string text;
  RunFormat format;                    // over the current format (a verdict's colour, a bold header)
  std::optional<Alignment> alignment;  // over the column's
  bool underlined = false;             // a line under the cell, in any table (a signature line)
};

// How a table is laid out. The defaults make the plain table of
// InsertTable(cells).
struct TableLayout {
  int headerRows = 0;              // the first rows, repeated at the top of each page the table runs onto
  bool keepRowsWhole = false;      // no row is split across two pages
  std::vector<int> columnWidths;   // twips, one per column; empty: the text width in equal shares
  std::vector<Alignment> columnAlignment;  // of each column's text; a missing one: the paragraph's
  bool borders = true;             // false: no lines but the underlined cells' (a cover page's label/value lines)
  bool centred = false;            // the table centred between the margins (narrower than the text)
  bool centreVertically = false;   // cell text in the middle of its row's height
};

class CWordDocument {
 public:
  // A blank document: one empty paragraph, A4 page, a CJK-capable default font.
  CWordDocument();
  CWordDocument(const CWordDocument&) = delete;
  CWordDocument& operator=(const CWordDocument&) = delete;

  // The format of what is typed next: the fields changes sets replace the
  // current ones.
  void SetFormat(const RunFormat& changes);
  // Alignment of the paragraph at the insertion point and of those that
  // follow from it.
  void SetAlignment(Alignment alignment);

  // Text at the insertion point; "\r\n" (or a lone "\r" or "\n") ends a
  // paragraph, "\t" is a tab, "\v" a line break.
  void TypeText(const std::string& text);
  void TypeParagraph();

  // A table of the cells, row by row, across the text width with single
  // borders, before the paragraph of the insertion point (split there
  // first), so that typing goes on below it. Each cell is typed in the
  // current format; its paragraph takes the insertion point's paragraph
  // formatting. The first row gives the number of columns; a longer row's
  // extra cells are dropped. Throws WordError for no rows or no columns.
  void InsertTable(const std::vector<std::vector<std::string>>& cells);
  // The same for cells of their own format and alignment, laid out as
  // layout says. Throws WordError as above, and when columnWidths is given
  // for another number of columns or holds a width under 1, or headerRows is
  // negative.
  void InsertTable(const std::vector<std::vector<TableCell>>& rows, const TableLayout& layout);

  // ---- the building blocks of a long document (nothing changes unless called)

  // A numbered heading of level 1, 2 or 3 ("1", "1.1", "1.1.1") as its own
  // paragraph, in the paragraph styles "heading 1" .. "heading 3" (bold 黑体
  // with Latin text in Times New Roman, 18, 16 and 14 points, kept with the
  // next paragraph, an outline level each) whose numbers a multilevel list
  // gives, so a reader's navigation pane and a table of contents find them.
  // The paragraph at the insertion point is ended first when it holds text;
  // the paragraphs after the heading take the formatting the paragraphs
  // before it had. A pending page break (PageBreak) goes before the heading.
  // Throws WordError for a level outside 1..3, for a level deeper than one
  // below the last heading's (2 before any 1, 3 straight after 1), and for a
  // text with a paragraph end in it.
  void TypeHeading(int level, const std::string& text);

  // A table of contents: a centred title paragraph, then one entry for every
  // heading of levels 1..3 of the document, those typed before and after it:
  // its number and text, a dot leader and its page as a PAGEREF field, each
  // linked to a bookmark on its heading (styles "toc 1" .. "toc 3"). The
  // page written in the field is counted from the page breaks made with
  // PageBreak before the heading; the document asks a word processor to
  // update its fields on opening, and one that lays the fields out itself
  // shows the real pages. Placed like a table, before the insertion point's
  // paragraph (split there first), taking a pending page break. Throws
  // WordError when the document already has one.
  void InsertTableOfContents(const std::string& title);

  // What is typed, inserted or spliced in next starts a new page. The
  // paragraph at the insertion point is ended first when it holds text.
  void PageBreak();
  // The paragraph at the insertion point stays on one page with what follows
  // it (a caption with its table, a label with its figure); the paragraphs
  // after it do not.
  void KeepWithNext();
  // Space before and after the paragraph at the insertion point and those
  // that follow from it, table cells among them, in points (a cover page's
  // title); SetSpacing(0, 0) for none.
  void SetSpacing(double beforePoints, double afterPoints);

  // Splices the body of a word-processing package in at the insertion point:
  // paragraphs, tables, equations, pictures with their parts, the styles it
  // names, and its headers and footers when this document has none of that
  // kind yet. name says which package in an error. Throws WordError, leaving
  // this document as it was, when the package is not a word-processing
  // document or lacks a part it refers to. A pending page break (PageBreak)
  // goes before the package's first paragraph.
  void InsertPackage(const PackageParts& parts, const std::string& name);
  // Gives the one part that holds exactly `current` (a stand-in inserted
  // earlier) the bytes `replacement`; throws WordError when no part holds it.
  void ReplacePartData(const std::string& current, std::string replacement);

  // The document as the bytes of a package file (see ZipPackage).
  std::string PackageBytes() const;

 private:
  pugi::xml_node InsertRun(const std::string& text);
  void SplitParagraph();
  pugi::xml_node Body() const;
  int TextWidth() const;
  bool TakePageBreak();
  void AddOutlineStyles();
  void AppendContentsEntry(size_t heading);

  struct Heading {
    int level = 0;
    std::string number;    // "1.2"
    std::string text;
    std::string bookmark;  // around the heading's text
    int page = 0;          // as counted from the page breaks before it
  };

  std::string m_mainPart;  // "word/document.xml"
  PackageParts m_parts;  // every part but the three below, as stored
  pugi::xml_document m_document;
  pugi::xml_document m_relations;  // of the main part
  pugi::xml_document m_contentTypes;

  pugi::xml_node m_paragraph;
  pugi::xml_node m_after;  // empty: at the paragraph's start
  RunFormat m_format;
  int m_lastDrawingId = 0;  // the largest id of a drawing in the body

  std::vector<Heading> m_headings;
  int m_headingCounts[3] = {0, 0, 0};  // the current number at each level
  int m_pageBreaks = 0;                // made by PageBreak so far
  bool m_outlineStyles = false;        // the heading and contents styles and the numbering are in
  pugi::xml_node m_contentsFirst;      // the contents' paragraph holding the field's start
  pugi::xml_node m_contentsEnd;        // its paragraph holding the field's end
};

}  // namespace tiecalc
