#include "report/WordWriter.h"

namespace tiecalc {

namespace {

constexpr const char* kProgId = "Word.Application";

// Word's automation values for the calls below.
constexpr int16_t kDoNotSaveChanges = 0;
constexpr int16_t kOriginalDocumentFormat = 1;

}  // namespace

CWordWriter::CWordWriter(IDesktop& desktop, std::shared_ptr<IWordClassRegistry> registry)
    : m_desktop(desktop), m_registry(std::move(registry)) {}

CWordWriter::~CWordWriter() {
  // A destructor must not throw: an engine error while quitting is dropped
  // here (the command it belonged to has ended already).
  try {
    CloseWord();
  } catch (...) {
  }
  m_font.reset();
}

void CWordWriter::Message(const char* text, MessageIcon icon) { m_desktop.ShowMessage(text, icon); }

int CWordWriter::ConnectWord() {
  const std::optional<std::string> classId = m_registry->LookupClass(kProgId);
  if (!classId) {
    Message("没有安装OFFICE,请确保安装了word 2000或以上版本!", MessageIcon::None);
    return 0;
  }
  if (std::shared_ptr<IWordRunningInstance> running = m_registry->GetRunningInstance(*classId)) {
    m_app = running->QueryApplication();
    // The handle from the running-object lookup is released on both roads.
    running.reset();
    if (!m_app) {
      Message("没有取得IDispatchPtr", MessageIcon::None);
      return 1;
    }
    m_startedWord = 0;
    return 1;
  }
  m_app = m_registry->CreateInstance(*classId);
  if (!m_app) {
    Message("Application创建失败,请确保安装了word 2000或以上版本!", MessageIcon::Exclamation);
    return 0;
  }
  m_startedWord = 1;
  return 1;
}

int CWordWriter::StartNewDocument() {
  if (!ConnectWord()) return 0;
  m_docs = m_app ? m_app->Documents() : nullptr;
  if (!m_docs) {
    Message("Documents创建失败!", MessageIcon::Exclamation);
    return 0;
  }
  m_docs->Add("", false, 0, true);  // the new document becomes the active one
  m_doc = m_app->ActiveDocument();
  if (!m_doc) {
    Message("Document获取失败!", MessageIcon::Exclamation);
    return 0;
  }
  RefreshTargets();
  return 1;
}

int CWordWriter::RefreshTargets() {
  m_sel = m_app ? m_app->Selection() : nullptr;
  if (!m_sel) {
    Message("Select获取失败!", MessageIcon::Exclamation);
    return 0;
  }
  m_range = m_doc ? m_doc->Range(std::nullopt, std::nullopt) : nullptr;
  if (!m_range) {
    Message("Range获取失败!", MessageIcon::Exclamation);
    return 0;
  }
  m_tables = m_doc->Tables();
  if (!m_tables) {
    Message("Table获取失败!", MessageIcon::Exclamation);
    return 0;
  }
  return 1;
}

int CWordWriter::SaveDocumentAs(const std::string& path) {
  if (!m_doc) {
    Message("Document获取失败!", MessageIcon::Exclamation);
    return 0;
  }
  WordSaveAsArgs args;
  args.fileName = path;
  m_doc->SaveAs(args);
  return 1;
}

int CWordWriter::OpenDocument(const std::string& path) {
  if (!m_docs) {
    Message("Documents为空!", MessageIcon::Exclamation);
    return 0;
  }
  WordOpenArgs args;
  args.fileName = path;
  args.confirmConversions = 1;
  args.readOnly = 0;
  args.addToRecentFiles = 0;
  args.documentDirection = 0;
  m_doc = m_docs->Open(args);
  if (!m_doc) {
    Message("Document获取失败!", MessageIcon::Exclamation);
    return 0;
  }
  RefreshTargets();
  return 1;
}

bool CWordWriter::SelectPlaceholder() {
  if (!m_sel) {
    Message("Select为空，字体设置失败!", MessageIcon::Exclamation);
    return false;
  }
  m_sel->SetText("F");
  m_font = m_sel->GetFont();
  return true;
}

void CWordWriter::SetFont(const std::string& name, float size, int32_t color, int32_t highlight) {
  if (!SelectPlaceholder()) return;
  if (m_font) {
    m_font->SetSize(size);
    m_font->SetName(name);
    m_font->SetColor(color);
    m_sel->SetFont(m_font);
  }
  if (std::shared_ptr<IWordRange> range = m_sel->GetRange()) range->SetHighlightColorIndex(highlight);
}

void CWordWriter::SetFontStyle(int32_t bold, int32_t italic, int32_t underline) {
  if (!SelectPlaceholder()) return;
  if (m_font) {
    m_font->SetBold(bold);
    m_font->SetItalic(italic);
    m_font->SetUnderline(underline);
    m_sel->SetFont(m_font);
  }
}

void CWordWriter::SetAlignment(int32_t alignment) {
  if (!m_sel) return;
  if (std::shared_ptr<IWordParagraphFormat> format = m_sel->GetParagraphFormat()) {
    format->SetAlignment(alignment);
    m_sel->SetParagraphFormat(format);
  }
}

void CWordWriter::WriteText(const std::string& text) {
  if (m_sel) m_sel->TypeText(text);
}

void CWordWriter::NewParagraphs(int32_t count) {
  if (!m_sel) return;
  for (int32_t i = 0; i < count; ++i) m_sel->TypeParagraph();
}

void CWordWriter::InsertDocumentFile(const std::string& path) {
  if (m_sel) m_sel->InsertFile(path, "", 0, 0, 0);
}

int CWordWriter::WriteTable(const std::vector<std::vector<std::string>>& cells) {
  if (!m_tables || !m_sel || cells.empty() || cells[0].empty()) return 0;
  const auto rows = static_cast<int32_t>(cells.size());
  const auto columns = static_cast<int32_t>(cells[0].size());
  std::shared_ptr<IWordTable> table = m_tables->Add(m_sel->GetRange(), rows, columns);
  if (!table) {
    Message("Table创建失败!", MessageIcon::Exclamation);
    return 0;
  }
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < columns && c < static_cast<int32_t>(cells[r].size()); ++c) {
      std::shared_ptr<IWordCell> cell = table->Cell(r + 1, c + 1);
      std::shared_ptr<IWordRange> range = cell ? cell->Range() : nullptr;
      if (!range) return 0;
      range->SetText(cells[r][c]);
    }
  }
  return 1;
}

int CWordWriter::SaveDocument() {
  if (!m_doc) {
    Message("Document获取失败!", MessageIcon::Exclamation);
    return 0;
  }
  m_doc->Save();
  return 1;
}

void CWordWriter::CloseWord() {
  if (m_startedWord == 1) {
    if (m_app) m_app->Quit(kDoNotSaveChanges, kOriginalDocumentFormat, 0);
  } else {
    m_app.reset();  // an engine that was running already stays open
  }
  m_tables.reset();
  m_range.reset();
  m_sel.reset();
  m_doc.reset();
  m_docs.reset();
  m_app.reset();
}

}  // namespace tiecalc
