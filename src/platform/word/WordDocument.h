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

  // Splices the body of a word-processing package in at the insertion point:
  // paragraphs, tables, equations, pictures with their parts, the styles it
  // names, and its headers and footers when this document has none of that
  // kind yet. name says which package in an error. Throws WordError, leaving
  // this document as it was, when the package is not a word-processing
  // document or lacks a part it refers to.
  void InsertPackage(const PackageParts& parts, const std::string& name);

  // The document as the bytes of a package file (see ZipPackage).
  std::string PackageBytes() const;

 private:
  pugi::xml_node InsertRun(const std::string& text);
  void SplitParagraph();
  pugi::xml_node Body() const;

  std::string m_mainPart;  // "word/document.xml"
  PackageParts m_parts;  // every part but the three below, as stored
  pugi::xml_document m_document;
  pugi::xml_document m_relations;  // of the main part
  pugi::xml_document m_contentTypes;

  pugi::xml_node m_paragraph;
  pugi::xml_node m_after;  // empty: at the paragraph's start
  RunFormat m_format;
  int m_lastDrawingId = 0;  // the largest id of a drawing in the body
};

}  // namespace tiecalc
