#pragma once
// A fragment source made into the parts of a word-processing document:
// paragraphs of runs (Chinese in 宋体), equations as Office Math, figures as
// inline pictures with their media, and the footer when the source has one.

#include <map>
#include <set>
#include <string>

#include "fragc/FragmentSource.h"

namespace tiecalc::fragc {

struct FigureSet {
  std::map<std::string, std::string> pngs;  // figure name -> PNG bytes
  std::set<std::string> missing;            // figures not drawn yet: an empty paragraph stands in
  double fallbackDpi = 300;                 // for a PNG that does not state its resolution
};

struct PngInfo {
  unsigned width = 0, height = 0;
  double dpiX = 0, dpiY = 0;  // 0 when the PNG does not state it
};

// Throws SourceError when the bytes are not a PNG.
PngInfo ReadPngInfo(const std::string& png);

// Part name inside the package -> content. Throws SourceError for a figure
// that is neither given nor missing, NotationError for a faulty equation.
std::map<std::string, std::string> BuildFragmentDocument(const FragmentSource& source,
                                                         const FigureSet& figures);

// Widest picture: the text width of an A4 page with side margins of 1800
// twips (3.17 cm), as a report page has them.
constexpr long long kTextWidthEmu = (11906LL - 2 * 1800) * 635;

}  // namespace tiecalc::fragc
