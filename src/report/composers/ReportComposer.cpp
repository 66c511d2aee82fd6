#include "report/composers/ReportComposer.h"

#include <optional>
#include <stdexcept>

#include "core/input/Format.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/word/PackageBuilder.h"
#include "platform/word/WordError.h"

namespace tiecalc {

namespace {

constexpr const char* kFontName = "宋体";
constexpr double kTitleSize = 25;
constexpr double kBodySize = 14;
constexpr double kHeadingSize = 16;

// Where the conversion of pattern starts and how long it is.
struct Conversion {
  size_t at = std::string_view::npos;
  size_t length = 0;
  int decimals = 0;
};

Conversion FindConversion(std::string_view pattern, char kind) {
  for (size_t at = pattern.find('%'); at != std::string_view::npos; at = pattern.find('%', at + 1)) {
    if (kind == 's' && pattern.substr(at, 2) == "%s") return {at, 2, 0};
    // "%v": an input, as FormatInput prints it.
    if (kind == 'f' && pattern.substr(at, 2) == "%v") return {at, 2, -1};
    // "%.Nf" with one digit N.
    if (kind == 'f' && at + 3 < pattern.size() && pattern[at + 1] == '.' && pattern[at + 2] >= '0' &&
        pattern[at + 2] <= '9' && pattern[at + 3] == 'f')
      return {at, 4, pattern[at + 2] - '0'};
  }
  throw std::logic_error("report pattern without its conversion: " + std::string(pattern));
}

std::string Replace(std::string_view pattern, const Conversion& c, std::string_view by) {
  std::string out(pattern.substr(0, c.at));
  out += by;
  out += pattern.substr(c.at + c.length);
  return out;
}

constexpr const char* kReportFailed = "报告文件输出失败!\n";
constexpr const char* kCannotWriteReport = "无法写入报告文件";

// The report's font at a size in a colour.
RunFormat Font(double size, uint32_t colour) {
  RunFormat format;
  format.font = kFontName;
  format.size = size;
  format.color = colour;
  return format;
}

// The same, bold or not, upright, not underlined.
RunFormat Font(double size, uint32_t colour, bool bold) {
  RunFormat format = Font(size, colour);
  format.bold = bold;
  format.italic = false;
  format.underline = false;
  return format;
}

}  // namespace

std::string Fill(std::string_view pattern, double value) {
  const Conversion c = FindConversion(pattern, 'f');
  return Replace(pattern, c, c.decimals < 0 ? FormatInput(value) : FormatFixed(value, c.decimals));
}

std::string Fill(std::string_view pattern, std::string_view text) {
  return Replace(pattern, FindConversion(pattern, 's'), text);
}

std::string WithUnit(std::string_view number, std::string_view unit) {
  std::string joined(number);
  joined += kNoBreakSpace;
  joined += unit;
  return joined;
}

void CReportComposer::TextLine(const std::vector<std::string>& pieces) {
  // A value that could not be calculated prints as "nan" or "inf"; the
  // report stops before such a text reaches the document.
  for (const std::string& piece : pieces)
    if (piece.find("nan") != std::string::npos || piece.find("inf") != std::string::npos)
      throw std::runtime_error("报告中有无穷大或无定义的数值：" + piece);
  for (const std::string& piece : pieces) m_document.TypeText(piece);
  m_document.TypeParagraph();
}

void CReportComposer::Line(const std::vector<Piece>& pieces) {
  std::vector<std::string> texts;
  for (const Piece& piece : pieces) texts.push_back(Fill(piece.pattern, piece.value));
  TextLine(texts);
}

void CReportComposer::Paragraphs(int count) {
  for (int i = 0; i < count; ++i) m_document.TypeParagraph();
}

uint32_t CReportComposer::Shown(uint32_t colour) const {
  if (!m_book) return colour;
  return colour == kTextGreen ? kTextDarkGreen : colour == kTextRed ? kTextDarkRed : colour;
}

void CReportComposer::BodyFont(uint32_t colour) { m_document.SetFormat(Font(kBodySize, Shown(colour))); }

void CReportComposer::Heading(const std::string& text) {
  m_document.SetFormat(Font(kHeadingSize, kTextBlack, true));
  TextLine(text);
  m_document.SetFormat(Font(kBodySize, kTextBlack, false));
}

void CReportComposer::Table(const std::vector<std::vector<std::string>>& cells, double size) {
  m_document.SetFormat(Font(size, kTextBlack));
  m_document.InsertTable(cells);
  BodyFont();
}

void CReportComposer::Fragment(FragmentId reportId) {
  const FragmentId id = m_book ? BookVariantOf(reportId) : reportId;
  const FragmentInfo* fragment = FindFragment(static_cast<int>(id));
  const std::span<const unsigned char> bytes = FragmentPackage(id);
  const std::string name = fragment ? fragment->fileName : std::to_string(static_cast<int>(id));
  if (bytes.empty()) throw WordError("程序中没有报告片段 " + name);
  // A book inserts the same fragments for every rod: each is unpacked once.
  auto unpacked = m_unpacked.find(id);
  if (unpacked == m_unpacked.end())
    unpacked = m_unpacked.emplace(id, ReadPackage({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, name)).first;
  m_document.InsertPackage(unpacked->second, name);
}

void CReportComposer::Table(const std::vector<std::vector<TableCell>>& rows, const TableLayout& layout,
                            double size) {
  m_document.SetFormat(Font(size, kTextBlack));
  m_document.InsertTable(rows, layout);
  BodyFont();
}

void CReportComposer::UseFont(double size, uint32_t colour, bool bold) {
  m_document.SetFormat(Font(size, Shown(colour), bold));
}

void CReportComposer::Spacing(double beforePoints, double afterPoints) {
  m_document.SetSpacing(beforePoints, afterPoints);
}

void CReportComposer::NumberedHeading(int level, const std::string& text) { m_document.TypeHeading(level, text); }

void CReportComposer::TableOfContents() { m_document.InsertTableOfContents("目录"); }

void CReportComposer::PageBreak() { m_document.PageBreak(); }

void CReportComposer::KeepWithNext() { m_document.KeepWithNext(); }

void CReportComposer::Align(Alignment alignment) { m_document.SetAlignment(alignment); }

void CReportComposer::Picture(const std::string& name, std::string png, double dpi, const std::string& description) {
  // The same document builder as the stored fragments' figures.
  DocumentContent content;
  content.paragraphs.push_back({0, {{DocumentPiece::Kind::Drawing, name, description}}});
  FigureSet figures;
  figures.pngs[name] = std::move(png);
  figures.fallbackDpi = dpi;
  m_document.InsertPackage(BuildPackage(content, figures), name);
}

namespace {

void AppendBigEndian(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// The smallest PNG the document builder reads a size from: the signature,
// the header of width x height and a private chunk that tells each stand-in
// apart. Never saved: it is replaced before the report is.
std::string StandInPng(unsigned width, unsigned height, unsigned dotsPerMetre, size_t serial) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  AppendBigEndian(png, 13);
  png += "IHDR";
  AppendBigEndian(png, width);
  AppendBigEndian(png, height);
  png += std::string("\x08\x02\x00\x00\x00", 5);
  AppendBigEndian(png, 0);  // the checksums are never read
  if (dotsPerMetre > 0) {
    AppendBigEndian(png, 9);
    png += "pHYs";
    AppendBigEndian(png, dotsPerMetre);
    AppendBigEndian(png, dotsPerMetre);
    png += '\x01';  // per metre
    AppendBigEndian(png, 0);
  }
  const std::string mark = "tiecalc late picture " + std::to_string(serial);
  AppendBigEndian(png, static_cast<uint32_t>(mark.size()));
  png += "tcLP" + mark;
  AppendBigEndian(png, 0);
  return png;
}

}  // namespace

void CReportComposer::LatePicture(const std::string& name, int width, int height, int dotsPerMetre, double dpi,
                                  const std::string& description, std::function<std::string()> png) {
  std::string standIn = StandInPng(static_cast<unsigned>(width), static_cast<unsigned>(height),
                                   static_cast<unsigned>(dotsPerMetre), m_pending.size());
  Picture(name, standIn, dpi, description);
  m_pending.push_back({std::move(standIn), std::move(png)});
}

void CReportComposer::FinishPictures() {
  for (PendingPicture& p : m_pending) {
    std::string png = p.png();
    const PngInfo drawn = ReadPngInfo(png), reserved = ReadPngInfo(p.standIn);
    if (drawn.width != reserved.width || drawn.height != reserved.height || drawn.dpiX != reserved.dpiX ||
        drawn.dpiY != reserved.dpiY)
      throw WordError("图片的大小与预留的不符");
    m_document.ReplacePartData(p.standIn, std::move(png));
  }
  m_pending.clear();
}

OutputOutcome RunReport(IDesktop& desktop, const ReportRequest& request,
                        const std::function<void(CReportComposer&)>& body) {
  SaveFileRequest dialog;
  dialog.defaultExtension = "*.doc";
  dialog.fileName = request.fileName;
  dialog.filter = "WORD文档(*.doc)|*.doc|";
  dialog.hideReadOnly = true;
  dialog.promptOverwrite = false;
  const std::optional<std::string> path = desktop.AskSaveFileName(dialog);
  if (!path) return OutputOutcome::Cancelled;
  try {
    // A folder, a pipe or a device at the chosen name is refused before the
    // document is built, and stays as it is.
    file::CheckTarget(*path);
    CWordDocument document;
    document.SetFormat(Font(kTitleSize, kTextBlack, true));
    document.SetAlignment(Alignment::Center);
    document.TypeText(request.title);
    document.TypeParagraph();
    document.SetFormat(Font(kBodySize, kTextBlack, false));
    document.SetAlignment(Alignment::Left);
    CReportComposer composer(document);
    body(composer);
    composer.FinishPictures();
    file::WriteFileAtomically(*path, document.PackageBytes());
  } catch (const file::CFileError& e) {
    throw std::runtime_error(kReportFailed + file::FileMessage(kCannotWriteReport, e));
  } catch (const std::exception& e) {
    // The document layer's WordError, a value not calculated, a chart that
    // could not be drawn: each says why in its text.
    throw std::runtime_error(kReportFailed + std::string(e.what()));
  }
  desktop.ShowMessage(kReportWritten, MessageIcon::None);
  return OutputOutcome::Written;
}

}  // namespace tiecalc
