#pragma once
// The course every report takes, and the few things a report body does.
//
// A report asks for a file name, checks it, writes its title into a new
// document in memory and sets the body style; its body then types lines
// (pieces typed one after the other, closed by one paragraph) and splices in
// fragments (the stored packages) and pictures; at the end the document
// takes the chosen path's place in one atomic replacement (platform/file: a
// temporary file beside it, then one rename; a link there is followed), and
// "报告文件输出成功!" is shown. The path never holds a partial document and
// is never missing. A report that cannot be finished leaves the path as it
// found it; its error ends the command with "报告文件输出失败!" and the
// reason.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog/Desktop.h"
#include "platform/word/WordDocument.h"
#include "report/fragments/Fragments.h"

namespace tiecalc {

// Colours of typed text, 0xRRGGBB.
inline constexpr uint32_t kTextBlack = 0x000000;
inline constexpr uint32_t kTextGreen = 0x00FF00;
inline constexpr uint32_t kTextRed = 0xFF0000;
// Colours that stay legible printed in grey (a calculation book's verdicts).
inline constexpr uint32_t kTextDarkGreen = 0x006100;
inline constexpr uint32_t kTextDarkRed = 0xC00000;

// U+00A0 NO-BREAK SPACE in UTF-8: a line never breaks there.
inline constexpr const char* kNoBreakSpace = "\xC2\xA0";
// number and unit joined by a no-break space, so they stay on one line
// ("175.37 MPa", "1234.56 kN·m").
std::string WithUnit(std::string_view number, std::string_view unit);

inline constexpr const char* kReportWritten = "报告文件输出成功!";

// pattern with its one printf-style conversion ("%.0f", "%.2f", "%.3f", or
// "%v" for an input: FormatInput) replaced by value, formatted independently
// of the locale.
std::string Fill(std::string_view pattern, double value);
// pattern with its "%s" replaced by text.
std::string Fill(std::string_view pattern, std::string_view text);

// One piece of a typed line: a pattern and the value it is filled with.
struct Piece {
  const char* pattern;
  double value;
};

class CReportComposer {
 public:
  explicit CReportComposer(CWordDocument& document) : m_document(document) {}

  // Pieces typed one after the other, then one paragraph. A piece holding
  // "nan" or "inf" (a value not calculated) ends the report with an error.
  void Line(const std::vector<Piece>& pieces);
  void TextLine(const std::vector<std::string>& pieces);
  void TextLine(const std::string& text) { TextLine(std::vector<std::string>{text}); }
  // Empty paragraphs (none for count <= 0).
  void Paragraphs(int count);
  // A heading line: bold, 16 points; the body font and style afterwards.
  void Heading(const std::string& text);
  // The body font ("宋体", 14 points) in a colour.
  void BodyFont(uint32_t colour = kTextBlack);
  // A table, row by row, in the body font at size points; the body font
  // afterwards.
  void Table(const std::vector<std::vector<std::string>>& cells, double size);
  // Splices the stored fragment in.
  void Fragment(FragmentId id);
  // Alignment of the paragraphs typed next.
  void Align(Alignment alignment);
  // A picture made by the program (PNG bytes at dpi, which fixes its printed
  // size, no wider than the text) alone in a centred paragraph, built as the
  // stored fragments' figures are; name is the picture's and its part's.
  void Picture(const std::string& name, std::string png, double dpi, const std::string& description);
  // The same for a PNG still being drawn, of width x height pixels: its
  // paragraph, size and part go in now, from a stand-in of that size; its
  // bytes (png(), which may wait for them) replace the stand-in when the
  // report is complete, so that the text after it need not wait. A PNG of
  // another size or resolution ends the report with an error.
  // dotsPerMetre is the resolution the PNG states (0: none; dpi then sizes it).
  void LatePicture(const std::string& name, int width, int height, int dotsPerMetre, double dpi,
                   const std::string& description, std::function<std::string()> png);
  // Fills in the late pictures; RunReport calls it before the document is saved.
  void FinishPictures();

  // ---- a long document's blocks (CWordDocument says more)
  // The body face at size points, in a colour, bold or not, for what is
  // typed next (a cover page's large title). BodyFont() restores size and
  // colour but keeps the weight: UseFont(14) is the regular body font.
  void UseFont(double size, uint32_t colour = kTextBlack, bool bold = false);
  // Space before and after the paragraphs typed next, in points.
  void Spacing(double beforePoints, double afterPoints);
  // A heading numbered "1", "1.1" or "1.1.1" for level 1, 2 or 3, in the
  // heading styles a table of contents lists.
  void NumberedHeading(int level, const std::string& text);
  // A table of contents titled "目录" listing every numbered heading.
  void TableOfContents();
  // What comes next starts a new page.
  void PageBreak();
  // The line typed next stays on one page with what follows it (a caption
  // with its table).
  void KeepWithNext();
  // A table of cells of their own colour, weight and alignment, laid out as
  // layout says, in the body font at size points; the body font afterwards.
  void Table(const std::vector<std::vector<TableCell>>& rows, const TableLayout& layout, double size);

  // From here on the report bodies write as a calculation book: their
  // verdict colours, lime and pure red, print as kTextDarkGreen and
  // kTextDarkRed (legible printed in grey), each fragment in the book's
  // wording (BookVariantOf), and the bodies word their own texts as a book
  // does where BookStyle() says so.
  void UseBookStyle() { m_book = true; }
  bool BookStyle() const { return m_book; }

 private:
  uint32_t Shown(uint32_t colour) const;

  CWordDocument& m_document;
  std::map<FragmentId, PackageParts> m_unpacked;  // the fragments inserted so far
  bool m_book = false;
  struct PendingPicture {
    std::string standIn;
    std::function<std::string()> png;
  };
  std::vector<PendingPicture> m_pending;
};

// What differs between reports besides their body.
struct ReportRequest {
  const char* fileName;  // proposed in the save dialog
  const char* title;     // the first, centred line
};

// Runs one report: the save dialog through desktop, the title, body between
// the body style and the end, the document written to the chosen path.
// Nothing happens when the dialog is cancelled (Cancelled). Errors leave as
// a std::runtime_error whose text begins "报告文件输出失败!", the path as it
// was.
OutputOutcome RunReport(IDesktop& desktop, const ReportRequest& request,
                        const std::function<void(CReportComposer&)>& body);

}  // namespace tiecalc
