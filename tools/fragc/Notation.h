#pragma once
// The linear notation of the report equations and its translation into Office
// Math (OMML), the equation markup of word-processing documents.
//
//   x_{…}  subscript            x^{…}  superscript (both: x_{…}^{…})
//   (a)/(b) built-up fraction; these brackets only delimit the parts
//   sqrt(…) square root
//   ∑_{i=1}^{4} summation with limits, over what follows up to "=" or the
//           end of the enclosing part; a bare ∑ is printed as it stands
//   ⏎      line break: the lines stand one above the other
//   {…}    a left brace before a stack of lines (no right brace is drawn)
//   (…)    any other bracket pair is printed; it grows round a built-up part
//   every other character is printed as it stands, blanks included; blanks
//   next to ⏎ and at either end of the notation only lay it out.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace tiecalc::fragc {

class NotationError : public std::runtime_error {
 public:
  NotationError(const std::string& what, std::size_t position)
      : std::runtime_error(what), m_position(position) {}
  // Offset of the fault in the notation, counted in characters (code points).
  std::size_t Position() const { return m_position; }

 private:
  std::size_t m_position;
};

struct MathNode;
using MathList = std::vector<MathNode>;

struct MathNode {
  enum class Kind {
    Text,      // text: printed characters
    Script,    // parts: base, subscript, superscript (either may be empty)
    Fraction,  // parts: numerator, denominator
    Radical,   // parts: radicand
    Sum,       // parts: lower limit, upper limit, summand
    Group,     // parts: what the printed brackets hold
    Brace,     // parts: the lines after the left brace
    Lines,     // parts: lines stacked one above the other
  };
  Kind kind = Kind::Text;
  std::u32string text;
  std::vector<MathList> parts;
};

// Reads one equation. Throws NotationError on unbalanced brackets, a script
// without a base or a "_"/"^" not followed by "{".
MathList ParseNotation(std::string_view utf8);

// Appends the equation as the content of an m:oMath element to parent.
void AppendOmml(pugi::xml_node oMath, const MathList& equation);

// Appends the equation given in the notation to an m:oMath element: the
// equation writer of the fragments' documents (BuildPackage).
void AppendNotation(pugi::xml_node oMath, const std::string& notation);

// The equation as a stand-alone <m:oMath> element (namespaces declared).
std::string NotationToOmml(std::string_view utf8);

extern const char* const kMathNamespace;
extern const char* const kWordNamespace;

}  // namespace tiecalc::fragc
