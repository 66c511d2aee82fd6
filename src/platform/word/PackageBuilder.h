#pragma once
// A small word-processing package built from paragraphs of pieces: runs of
// text (Chinese in 宋体), equations, inline pictures with their media, fields,
// and a footer. The report fragments are built with it at build time, a
// report's own figures (the force chart) while the report is written.

#include <functional>
#include <map>
#include <optional>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <vector>

#include "platform/word/ZipPackage.h"

namespace tiecalc {

struct DocumentPiece {
  enum class Kind { Text, Equation, Drawing, Field };
  Kind kind = Kind::Text;
  std::string value;        // the text, the equation, the figure name or the field name
  std::string description;  // what a drawing shows
};

struct DocumentParagraph {
  int number = 0;  // its number in the source it was read from, 0 for none
  std::vector<DocumentPiece> pieces;
};

struct DocumentContent {
  std::vector<DocumentParagraph> paragraphs;
  std::optional<DocumentParagraph> footer;
};

struct FigureSet {
  std::map<std::string, std::string> pngs;  // figure name -> PNG bytes
  std::set<std::string> missing;            // figures not drawn yet: an empty paragraph stands in
  double fallbackDpi = 300;                 // for a PNG that does not state its resolution
};

struct PngInfo {
  unsigned width = 0, height = 0;
  double dpiX = 0, dpiY = 0;  // 0 when the PNG does not state it
};

// Throws WordError when the bytes are not a PNG.
PngInfo ReadPngInfo(const std::string& png);

// Writes an equation piece's value as the content of an m:oMath element.
// The fonts and size of a run of the fragments, under its properties
// (w:rPr): the given Latin font, 宋体 for Chinese, 12 points. Returns
// properties, for what a run adds after them.
pugi::xml_node AppendRunFonts(pugi::xml_node properties, const char* latinFont);

using EquationWriter = std::function<void(pugi::xml_node oMath, const std::string& equation)>;

// The package's parts. A picture is centred alone in its paragraph, sized by
// its resolution and no wider than the text; an equation that is the whole
// paragraph stands on its own line. Throws WordError for a figure that is
// neither given nor missing and for an equation without a writer; what the
// writer throws goes on.
PackageParts BuildPackage(const DocumentContent& content, const FigureSet& figures,
                          const EquationWriter& equations = {});

// Widest picture: the text width of an A4 page with side margins of 1800
// twips (3.17 cm), as a report page has them.
constexpr long long kTextWidthEmu = (11906LL - 2 * 1800) * 635;

}  // namespace tiecalc
