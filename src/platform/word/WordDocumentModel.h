#pragma once
// The document behind the embedded engine: a word-processing package whose
// main part is kept as an XML tree, and an insertion point in it.
//
// The insertion point lies inside one paragraph, after a given inline node
// (or at the paragraph's start). A selection is at most one run of text just
// after the insertion point; anything typed or inserted replaces it and takes
// its formatting, as typing over a selection does in a word processor.

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>

#include "platform/word/ZipPackage.h"

namespace tiecalc {

// Character formatting; an empty field is inherited from the styles.
struct RunFormat {
  std::optional<std::string> name;
  std::optional<float> size;  // points
  std::optional<int32_t> color;  // 0x00BBGGRR
  std::optional<int32_t> bold;
  std::optional<int32_t> italic;
  std::optional<int32_t> underline;  // Word's underline kinds, 0 none, 1 single, ...
  std::optional<int32_t> highlight;  // Word's highlight colour index, 0 none

  // Takes every field that other sets.
  void Merge(const RunFormat& other);
  bool operator==(const RunFormat&) const = default;
};

// Each throws WordError for a value Word would refuse.
void CheckFontSize(float points);
void CheckUnderline(int32_t underline);
void CheckHighlight(int32_t index);
void CheckAlignment(int32_t alignment);

class CWordDocumentModel {
 public:
  // A blank document: one empty paragraph, A4 page, a CJK-capable default font.
  CWordDocumentModel();
  CWordDocumentModel(const CWordDocumentModel&) = delete;
  CWordDocumentModel& operator=(const CWordDocumentModel&) = delete;

  // Replaces this document by the one stored at path, insertion point at its
  // start. Throws WordError, leaving this document as it was, when the file
  // cannot be read or is not a word-processing document.
  void Load(const std::string& path);
  // Stores the document as a word-processing package, atomically.
  void Save(const std::string& path) const;

  // Replaces the selection by text, which stays selected.
  void SetSelectionText(const std::string& text);
  // The formatting of the selection, or of text typed at the insertion point.
  const RunFormat& SelectionFormat() const { return m_format; }
  void ApplySelectionFormat(const RunFormat& changes);
  void SetSelectionAlignment(int32_t alignment);
  // Highlight of every run of the document.
  void SetDocumentHighlight(int32_t index);

  // A table of rows x columns empty cells across the text width, with
  // single borders, before the paragraph of the insertion point (split there
  // first), so that typing goes on below it. The cells' paragraphs take the
  // insertion point's paragraph formatting. Returns the table's index among
  // the tables of the body.
  size_t InsertTable(int32_t rows, int32_t columns);
  // Throws WordError when the body's table has no such cell (from 1).
  void CheckCell(size_t table, int32_t row, int32_t column) const;
  // Replaces the text of a cell, typed in the current formatting.
  void SetCellText(size_t table, int32_t row, int32_t column, const std::string& text);

  void TypeText(const std::string& text);
  void TypeParagraph();
  // Splices the body of the document stored at path in at the insertion point:
  // paragraphs, tables, equations, pictures with their parts, and its headers
  // and footers when this document has none of that kind yet.
  void InsertFile(const std::string& path);

 private:
  void Parse(PackageParts parts, const std::string& path);
  void DropSelection();
  pugi::xml_node InsertRun(const std::string& text);
  void SplitParagraph();
  pugi::xml_node Body() const;
  pugi::xml_node CellOf(size_t table, int32_t row, int32_t column) const;

  PackageParts m_parts;  // every part but the three below, as stored
  std::string m_mainPart;  // "word/document.xml"
  pugi::xml_document m_document;
  pugi::xml_document m_relations;  // of the main part
  pugi::xml_document m_contentTypes;

  pugi::xml_node m_paragraph;
  pugi::xml_node m_after;  // empty: at the paragraph's start
  pugi::xml_node m_selected;
  RunFormat m_format;
  int m_lastDrawingId = 0;  // the largest id of a drawing in the body
};

}  // namespace tiecalc
