#include "report/composers/ReportComposer.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "core/input/Format.h"
#include "fragc/FragmentDocument.h"
#include "platform/word/ZipPackage.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/path/Utf8Path.h"
#include "report/WordWriter.h"
#include "report/fragments/FragmentFolder.h"

namespace tiecalc {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFontName = "宋体";
constexpr float kTitleSize = 25.0f;
constexpr float kBodySize = 14.0f;
constexpr float kHeadingSize = 16.0f;
constexpr int32_t kAlignLeft = 0;
constexpr int32_t kAlignCentre = 1;

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

// A writer call the report cannot go on without reported failure (the writer
// has shown its message).
struct StepFailed {};

void Require(int result) {
  if (!result) throw StepFailed{};
}

constexpr const char* kReportFailed = "报告文件输出失败!\n";
constexpr const char* kCannotWriteReport = "无法写入报告文件";

// text with every mention of the temporary file replaced by the path chosen.
std::string Named(std::string text, const std::string& temporary, const std::string& path) {
  for (size_t at = text.find(temporary); at != std::string::npos; at = text.find(temporary, at + path.size()))
    text.replace(at, temporary.size(), path);
  return text;
}

}  // namespace

std::string Fill(std::string_view pattern, double value) {
  const Conversion c = FindConversion(pattern, 'f');
  return Replace(pattern, c, c.decimals < 0 ? FormatInput(value) : FormatFixed(value, c.decimals));
}

std::string Fill(std::string_view pattern, std::string_view text) {
  return Replace(pattern, FindConversion(pattern, 's'), text);
}

CReportComposer::CReportComposer(CWordWriter& writer, const FragmentFolder& folder)
    : m_writer(writer), m_folder(folder) {}

void CReportComposer::TextLine(const std::vector<std::string>& pieces) {
  // A value that could not be calculated prints as "nan" or "inf"; the
  // report stops before such a text reaches the document.
  for (const std::string& piece : pieces)
    if (piece.find("nan") != std::string::npos || piece.find("inf") != std::string::npos)
      throw std::runtime_error("报告中有无穷大或无定义的数值：" + piece);
  for (const std::string& piece : pieces) m_writer.WriteText(piece);
  m_writer.NewParagraphs(1);
}

void CReportComposer::Line(const std::vector<Piece>& pieces) {
  std::vector<std::string> texts;
  for (const Piece& piece : pieces) texts.push_back(Fill(piece.pattern, piece.value));
  TextLine(texts);
}

void CReportComposer::Paragraphs(int count) { m_writer.NewParagraphs(count); }

void CReportComposer::BodyFont(int32_t colour) { m_writer.SetFont(kFontName, kBodySize, colour, 0); }

void CReportComposer::Heading(const std::string& text) {
  m_writer.SetFont(kFontName, kHeadingSize, kTextBlack, 0);
  m_writer.SetFontStyle(1, 0, 0);
  TextLine(text);
  BodyFont();
  m_writer.SetFontStyle(0, 0, 0);
}

void CReportComposer::Table(const std::vector<std::vector<std::string>>& cells, float size) {
  m_writer.SetFont(kFontName, size, kTextBlack, 0);
  const int written = m_writer.WriteTable(cells);
  BodyFont();
  if (!written) throw std::runtime_error("无法写出表格");
}

void CReportComposer::Fragment(FragmentId id) {
  const std::string path = m_folder.FilePath(id);
  // A fragment inserted again is in the folder already.
  const bool written = std::find(m_inserted.begin(), m_inserted.end(), id) != m_inserted.end();
  m_inserted.push_back(id);  // deleted at the end, written or not
  if (!written && !m_folder.Write(id)) throw std::runtime_error("无法写出报告片段文件 " + path);
  m_writer.InsertDocumentFile(path);
}

void CReportComposer::Alignment(int32_t alignment) { m_writer.SetAlignment(alignment); }

void CReportComposer::Picture(const std::string& name, const std::string& png, double dpi,
                              const std::string& description) {
  // The same document builder as the stored fragments' figures.
  fragc::FragmentSource source;
  source.paragraphs.push_back({1, {{fragc::Piece::Kind::Drawing, name, description}}});
  fragc::FigureSet figures;
  figures.pngs[name] = png;
  figures.fallbackDpi = dpi;
  const std::string path = m_folder.Path() + name + ".doc";
  try {
    WritePackage(path, fragc::BuildFragmentDocument(source, figures));
  } catch (const std::exception& e) {
    throw std::runtime_error("无法写出报告图片文件 " + path + ": " + e.what());
  }
  m_writer.InsertDocumentFile(path);
  std::error_code ignored;  // the folder goes at the end with whatever is left
  fs::remove(path, ignored);
}

OutputOutcome RunReport(IDesktop& desktop, std::shared_ptr<IWordClassRegistry> registry,
                        const ReportRequest& request, const std::function<void(CReportComposer&)>& body) {
  SaveFileRequest dialog;
  dialog.defaultExtension = "*.doc";
  dialog.fileName = request.fileName;
  dialog.filter = "WORD文档(*.doc)|*.doc|";
  dialog.hideReadOnly = true;
  dialog.promptOverwrite = false;
  const std::optional<std::string> path = desktop.AskSaveFileName(dialog);
  if (!path) return OutputOutcome::Cancelled;
  // A folder, a pipe or a device at the chosen name is refused before the
  // document is built, and stays as it is.
  try {
    file::CheckTarget(*path);
  } catch (const file::CFileError& e) {
    throw std::runtime_error(kReportFailed + file::FileMessage(kCannotWriteReport, e));
  }

  const FragmentFolder folder;
  CWordWriter writer(desktop, std::move(registry));
  if (!writer.StartNewDocument()) return OutputOutcome::Failed;

  CReportComposer composer(writer, folder);
  // Fragment files in insertion order, each once however often it was
  // inserted; the folder takes whatever is left.
  const auto deleteFragments = [&](std::vector<std::string>* failures) {
    std::vector<FragmentId> deleted;
    for (FragmentId id : composer.Inserted()) {
      if (std::find(deleted.begin(), deleted.end(), id) != deleted.end()) continue;
      deleted.push_back(id);
      try {
        folder.Delete(id);
      } catch (const std::exception& e) {
        if (failures) failures->push_back(e.what());
      }
    }
  };

  // The whole document is built in a temporary file beside the chosen path,
  // which it replaces by one rename once it is complete: the path never
  // holds a partial document and is never missing.
  file::RemoveStaleTemporaries(*path);
  const std::string temporary = file::TemporaryPathBeside(*path);
  const auto dropTemporary = [&] {
    std::error_code ignored;
    fs::remove(PathFromUtf8(temporary), ignored);
  };
  try {
    Require(writer.SaveDocumentAs(temporary));
    Require(writer.OpenDocument(temporary));

    writer.SetFont(kFontName, kTitleSize, kTextBlack, 0);
    writer.SetFontStyle(1, 0, 0);
    writer.SetAlignment(kAlignCentre);
    writer.WriteText(request.title);
    writer.NewParagraphs(1);

    writer.SetFont(kFontName, kBodySize, kTextBlack, 0);
    writer.SetFontStyle(0, 0, 0);
    writer.SetAlignment(kAlignLeft);

    body(composer);

    Require(writer.SaveDocument());
  } catch (...) {
    // Release the engine before the file it may still hold is removed.
    try {
      writer.CloseWord();
    } catch (...) {
    }
    deleteFragments(nullptr);
    dropTemporary();
    try {
      throw;
    } catch (const StepFailed&) {
      return OutputOutcome::Failed;  // the writer has shown its message; nothing is left behind
    } catch (const std::exception& e) {
      // The user knows the file by the name they chose.
      throw std::runtime_error(std::string(kReportFailed) + Named(e.what(), temporary, *path));
    }
  }

  // The report is complete in the temporary file. An engine error while
  // letting go of the engine still ends the command, after the clean-up and
  // without the success message, but the report takes its place all the
  // same; everything else is told.
  std::optional<std::string> closeError;
  try {
    writer.CloseWord();
  } catch (const std::exception& e) {
    closeError = e.what();
  }
  std::vector<std::string> failures;
  deleteFragments(&failures);
  try {
    file::ReplaceWithFile(temporary, *path);
  } catch (const file::CFileError& e) {
    dropTemporary();
    std::string text = kReportFailed + file::FileMessage(kCannotWriteReport, e);
    if (closeError) text += "\n" + *closeError;
    throw std::runtime_error(text);
  }
  if (closeError) {
    for (const std::string& failure : failures) *closeError += "\n" + failure;
    throw std::runtime_error(Named(*closeError, temporary, *path));
  }
  desktop.ShowMessage(kReportWritten, MessageIcon::None);
  for (const std::string& failure : failures) desktop.ShowMessage(failure, MessageIcon::Exclamation);
  return OutputOutcome::Written;
}

}  // namespace tiecalc
