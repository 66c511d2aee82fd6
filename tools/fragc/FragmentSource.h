#pragma once
// The readable source of one report fragment: its paragraphs in order, one
// numbered line each, and an optional footer line.
//
//   # a comment
//   same as: 44.frag                   this fragment is that one, except for
//                                      the numbered lines given below
//   1. "text" [equation: notation] (10 blanks) [equation: notation]
//   3. [drawing fig_threerod_1: what the figure shows]
//   footer: [field PAGE] " / " [field NUMPAGES]
//
// A text in double quotes is one run, blanks included; (n blanks) is a run of
// n blanks; the blanks between the pieces of a line only lay the line out.
// Lines of a full fragment are numbered 1, 2, 3, ... without a gap.

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/word/PackageBuilder.h"

namespace tiecalc::fragc {

class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A source is the content of the document it is compiled into; an
// equation's value is its notation (Notation.h).
using Piece = DocumentPiece;
using Paragraph = DocumentParagraph;
using FragmentSource = DocumentContent;

// Reads a source text; name is used in error messages; loadBase reads the
// fragment that a "same as:" line names. Throws SourceError.
FragmentSource ParseFragmentSource(std::string_view text, const std::string& name,
                                   const std::function<FragmentSource(const std::string&)>& loadBase);

// Reads a source file; the fragment a "same as:" line names is read from the
// same folder and must be a full one (no "same as:" of its own).
FragmentSource LoadFragmentSource(const std::filesystem::path& path);

// The figures the fragment shows, in order of appearance.
std::vector<std::string> FigureNames(const FragmentSource& source);

}  // namespace tiecalc::fragc
