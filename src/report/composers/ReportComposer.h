#pragma once
// The course every report takes, and the few things a report body does.
//
// A report asks for a file name, starts a document, saves it (as a temporary
// file beside that name) and opens it again, types its title and sets the body style; its body then
// types lines (pieces typed one after the other, closed by one paragraph) and
// inserts fragments (the stored document written into the report's own
// temporary folder, then inserted from there); at the end the document is
// saved, the engine released, the fragment files deleted in the order they
// were inserted, and "报告文件输出成功!" shown.
//
// The document is saved, opened and completed as a temporary file beside the
// chosen path, which takes the path's place by one rename at the end (a link
// there is followed): the path never holds a partial document and is never
// missing. A report that cannot be finished leaves the path as it found it;
// the temporary file and the fragment files go; the error then ends the
// command with its text, naming the chosen path.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog/Desktop.h"
#include "platform/word/WordObjectModel.h"
#include "report/fragments/Fragments.h"

namespace tiecalc {

class CWordWriter;
class FragmentFolder;

// Colours of typed text, 0x00BBGGRR.
inline constexpr int32_t kTextBlack = 0;
inline constexpr int32_t kTextGreen = 65280;
inline constexpr int32_t kTextRed = 255;

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
  CReportComposer(CWordWriter& writer, const FragmentFolder& folder);

  // Pieces typed one after the other, then one paragraph. A piece holding
  // "nan" or "inf" (a value not calculated) ends the report with an error.
  void Line(const std::vector<Piece>& pieces);
  void TextLine(const std::vector<std::string>& pieces);
  void TextLine(const std::string& text) { TextLine(std::vector<std::string>{text}); }
  // Empty paragraphs (none for count <= 0).
  void Paragraphs(int count);
  // A heading line: bold, 16 points; the body font and style afterwards.
  void Heading(const std::string& text);
  // The body font ("宋体", 14 points) in a colour, without highlight.
  void BodyFont(int32_t colour = kTextBlack);
  // A table, row by row, in the body font at size points; the body font
  // afterwards.
  void Table(const std::vector<std::vector<std::string>>& cells, float size);
  // Writes the fragment into the report's folder and inserts that file.
  void Fragment(FragmentId id);
  // Alignment of the paragraphs typed next: 0 left, 1 centred.
  void Alignment(int32_t alignment);
  // A picture made by the program (PNG bytes at dpi, which fixes its printed
  // size, no wider than the text) alone in a centred paragraph: a document
  // holding it is written into the report's folder as NAME.doc, inserted as a
  // fragment is, and removed again.
  void Picture(const std::string& name, const std::string& png, double dpi, const std::string& description);

  // The fragments inserted so far, in order.
  const std::vector<FragmentId>& Inserted() const { return m_inserted; }

 private:
  CWordWriter& m_writer;
  const FragmentFolder& m_folder;
  std::vector<FragmentId> m_inserted;
};

// What differs between reports besides their body.
struct ReportRequest {
  const char* fileName;  // proposed in the save dialog
  const char* title;     // the first, centred line
};

// Runs one report: the save dialog through desktop, the document through the
// engine that registry answers "Word.Application" with, body between the
// body style and the final save. Nothing happens when the dialog is cancelled
// (Cancelled) or the engine gives no document (Failed: the writer has said
// why). Errors leave as a std::runtime_error after the path has been
// restored; an error of the engine while it is let go after the save keeps
// the saved report.
OutputOutcome RunReport(IDesktop& desktop, std::shared_ptr<IWordClassRegistry> registry,
                        const ReportRequest& request, const std::function<void(CReportComposer&)>& body);

}  // namespace tiecalc
