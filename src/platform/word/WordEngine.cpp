#include "platform/word/WordEngine.h"

#include <filesystem>
#include <vector>

#include "platform/word/WordDocumentModel.h"
#include "platform/word/WordError.h"

namespace tiecalc {

namespace {

constexpr const char* kProgId = "Word.Application";
constexpr const char* kClassId = "tiecalc.EmbeddedDocumentEngine";

// One open document: its content, the file it belongs to, and whether it was
// closed (objects obtained from it then refuse every call).
class CEngineDocumentState {
 public:
  CWordDocumentModel& Model() {
    if (m_closed) throw WordError("文档 " + (m_path.empty() ? std::string("(未命名)") : m_path) + " 已关闭");
    return m_model;
  }
  const std::string& Path() const { return m_path; }
  void SetPath(std::string path) { m_path = std::move(path); }
  void Close() { m_closed = true; }

 private:
  CWordDocumentModel m_model;
  std::string m_path;
  bool m_closed = false;
};

using DocumentState = std::shared_ptr<CEngineDocumentState>;

class CEngineFont : public IWordFont {
 public:
  explicit CEngineFont(RunFormat format) : m_format(std::move(format)) {}
  void SetSize(float points) override {
    CheckFontSize(points);
    m_format.size = points;
  }
  void SetName(const std::string& name) override {
    if (!name.empty()) m_format.name = name;
  }
  void SetColor(int32_t bgr) override { m_format.color = bgr; }
  void SetBold(int32_t bold) override { m_format.bold = bold; }
  void SetItalic(int32_t italic) override { m_format.italic = italic; }
  void SetUnderline(int32_t underline) override {
    CheckUnderline(underline);
    m_format.underline = underline;
  }
  const RunFormat& Format() const { return m_format; }

 private:
  RunFormat m_format;
};

class CEngineParagraphFormat : public IWordParagraphFormat {
 public:
  void SetAlignment(int32_t alignment) override {
    CheckAlignment(alignment);
    m_alignment = alignment;
  }
  std::optional<int32_t> Alignment() const { return m_alignment; }

 private:
  std::optional<int32_t> m_alignment;
};

// The selection's text, or the whole document.
class CEngineRange : public IWordRange {
 public:
  CEngineRange(DocumentState document, bool wholeDocument)
      : m_document(std::move(document)), m_wholeDocument(wholeDocument) {}
  void SetHighlightColorIndex(int32_t index) override {
    CheckHighlight(index);
    if (m_wholeDocument) {
      m_document->Model().SetDocumentHighlight(index);
    } else {
      RunFormat format;
      format.highlight = index;
      m_document->Model().ApplySelectionFormat(format);
    }
  }
  void SetText(const std::string& text) override {
    if (m_wholeDocument) throw WordError("文档引擎不能替换整篇文档的文字");
    m_document->Model().SetSelectionText(text);
  }

 private:
  DocumentState m_document;
  bool m_wholeDocument;
};

// The text of one table cell.
class CEngineCellRange : public IWordRange {
 public:
  CEngineCellRange(DocumentState document, size_t table, int32_t row, int32_t column)
      : m_document(std::move(document)), m_table(table), m_row(row), m_column(column) {}
  void SetHighlightColorIndex(int32_t) override { throw WordError("文档引擎不能突出显示表格单元格"); }
  void SetText(const std::string& text) override {
    m_document->Model().SetCellText(m_table, m_row, m_column, text);
  }

 private:
  DocumentState m_document;
  size_t m_table;
  int32_t m_row, m_column;
};

class CEngineCell : public IWordCell {
 public:
  CEngineCell(DocumentState document, size_t table, int32_t row, int32_t column)
      : m_document(std::move(document)), m_table(table), m_row(row), m_column(column) {}
  std::shared_ptr<IWordRange> Range() override {
    return std::make_shared<CEngineCellRange>(m_document, m_table, m_row, m_column);
  }

 private:
  DocumentState m_document;
  size_t m_table;
  int32_t m_row, m_column;
};

class CEngineTable : public IWordTable {
 public:
  CEngineTable(DocumentState document, size_t table) : m_document(std::move(document)), m_table(table) {}
  std::shared_ptr<IWordCell> Cell(int32_t row, int32_t column) override {
    m_document->Model().CheckCell(m_table, row, column);
    return std::make_shared<CEngineCell>(m_document, m_table, row, column);
  }

 private:
  DocumentState m_document;
  size_t m_table;
};

class CEngineTables : public IWordTables {
 public:
  explicit CEngineTables(DocumentState document) : m_document(std::move(document)) {}
  std::shared_ptr<IWordTable> Add(const std::shared_ptr<IWordRange>& range, int32_t rows, int32_t columns) override {
    if (!std::dynamic_pointer_cast<CEngineRange>(range)) throw WordError("表格位置不属于本文档引擎");
    return std::make_shared<CEngineTable>(m_document, m_document->Model().InsertTable(rows, columns));
  }

 private:
  DocumentState m_document;
};

class CEngineSelection : public IWordSelection {
 public:
  explicit CEngineSelection(DocumentState document) : m_document(std::move(document)) {}

  void SetText(const std::string& text) override { m_document->Model().SetSelectionText(text); }
  std::shared_ptr<IWordFont> GetFont() override {
    return std::make_shared<CEngineFont>(m_document->Model().SelectionFormat());
  }
  void SetFont(const std::shared_ptr<IWordFont>& font) override {
    auto mine = std::dynamic_pointer_cast<CEngineFont>(font);
    if (!mine) throw WordError("字体对象不属于本文档引擎");
    m_document->Model().ApplySelectionFormat(mine->Format());
  }
  std::shared_ptr<IWordParagraphFormat> GetParagraphFormat() override {
    m_document->Model();  // a closed document has no selection
    return std::make_shared<CEngineParagraphFormat>();
  }
  void SetParagraphFormat(const std::shared_ptr<IWordParagraphFormat>& format) override {
    auto mine = std::dynamic_pointer_cast<CEngineParagraphFormat>(format);
    if (!mine) throw WordError("段落格式对象不属于本文档引擎");
    if (mine->Alignment()) m_document->Model().SetSelectionAlignment(*mine->Alignment());
  }
  std::shared_ptr<IWordRange> GetRange() override {
    m_document->Model();
    return std::make_shared<CEngineRange>(m_document, false);
  }
  void TypeText(const std::string& text) override { m_document->Model().TypeText(text); }
  void TypeParagraph() override { m_document->Model().TypeParagraph(); }
  void InsertFile(const std::string& fileName, const std::string& range, int16_t, int16_t,
                  int16_t) override {
    if (!range.empty()) throw WordError("插入文件 " + fileName + " 失败: 只能插入整个文件");
    m_document->Model().InsertFile(fileName);
  }

 private:
  DocumentState m_document;
};

class CEngineDocument : public IWordDocument {
 public:
  explicit CEngineDocument(DocumentState state) : m_state(std::move(state)) {}

  std::shared_ptr<IWordRange> Range(std::optional<int32_t> start, std::optional<int32_t> end) override {
    if (start || end) throw WordError("文档引擎只支持整篇文档的范围");
    m_state->Model();
    return std::make_shared<CEngineRange>(m_state, true);
  }
  std::shared_ptr<IWordTables> Tables() override {
    m_state->Model();
    return std::make_shared<CEngineTables>(m_state);
  }
  void SaveAs(const WordSaveAsArgs& args) override {
    if (args.fileName.empty()) throw WordError("保存文档失败: 没有文件名");
    m_state->Model().Save(args.fileName);
    m_state->SetPath(args.fileName);
  }
  void Save() override {
    if (m_state->Path().empty()) throw WordError("保存文档失败: 文档还没有文件名");
    m_state->Model().Save(m_state->Path());
  }
  const DocumentState& State() const { return m_state; }

 private:
  DocumentState m_state;
};

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  const auto left = std::filesystem::weakly_canonical(std::u8string(a.begin(), a.end()), error);
  if (error) return a == b;
  const auto right = std::filesystem::weakly_canonical(std::u8string(b.begin(), b.end()), error);
  if (error) return a == b;
  return left == right;
}

class CEngineApplication : public IWordApplication, public IWordDocuments,
                           public std::enable_shared_from_this<CEngineApplication> {
 public:
  // Application
  std::shared_ptr<IWordDocuments> Documents() override {
    CheckRunning();
    return std::shared_ptr<IWordDocuments>(shared_from_this(), static_cast<IWordDocuments*>(this));
  }
  std::shared_ptr<IWordDocument> ActiveDocument() override {
    CheckRunning();
    return m_active ? std::make_shared<CEngineDocument>(m_active) : nullptr;
  }
  std::shared_ptr<IWordSelection> Selection() override {
    CheckRunning();
    return m_active ? std::make_shared<CEngineSelection>(m_active) : nullptr;
  }
  void Quit(int16_t saveChanges, int16_t, int16_t) override {
    CheckRunning();
    // -1 saves every document that has a file; 0 and the prompt (-2), which
    // nobody can answer here, discard the changes.
    if (saveChanges == -1)
      for (const DocumentState& document : m_documents)
        if (!document->Path().empty()) document->Model().Save(document->Path());
    for (const DocumentState& document : m_documents) document->Close();
    m_documents.clear();
    m_active.reset();
    m_quit = true;
  }

  // Documents
  std::shared_ptr<IWordDocument> Add(const std::string& templateName, bool, int32_t documentType,
                                     bool) override {
    CheckRunning();
    if (!templateName.empty()) throw WordError("文档引擎没有模板 " + templateName);
    if (documentType != 0) throw WordError("文档引擎只能新建空白文档");
    m_active = std::make_shared<CEngineDocumentState>();
    m_documents.push_back(m_active);
    return std::make_shared<CEngineDocument>(m_active);
  }
  std::shared_ptr<IWordDocument> Open(const WordOpenArgs& args) override {
    CheckRunning();
    // A file that is open already is made current again, as it stands.
    for (const DocumentState& document : m_documents) {
      if (!document->Path().empty() && SameFile(document->Path(), args.fileName)) {
        m_active = document;
        return std::make_shared<CEngineDocument>(document);
      }
    }
    auto document = std::make_shared<CEngineDocumentState>();
    document->Model().Load(args.fileName);
    document->SetPath(args.fileName);
    m_documents.push_back(document);
    m_active = document;
    return std::make_shared<CEngineDocument>(document);
  }

 private:
  void CheckRunning() const {
    if (m_quit) throw WordError("文档引擎已经退出");
  }

  std::vector<DocumentState> m_documents;
  DocumentState m_active;
  bool m_quit = false;
};

class CRunningEngine : public IWordRunningInstance {
 public:
  explicit CRunningEngine(std::shared_ptr<IWordApplication> application)
      : m_application(std::move(application)) {}
  std::shared_ptr<IWordApplication> QueryApplication() override { return m_application; }

 private:
  std::shared_ptr<IWordApplication> m_application;
};

}  // namespace

std::shared_ptr<IWordApplication> CreateWordEngine() { return std::make_shared<CEngineApplication>(); }

std::optional<std::string> CEmbeddedWordRegistry::LookupClass(const std::string& progId) {
  if (progId == kProgId) return kClassId;
  return std::nullopt;
}

std::shared_ptr<IWordRunningInstance> CEmbeddedWordRegistry::GetRunningInstance(const std::string& classId) {
  if (classId != kClassId || !m_running) return nullptr;
  return std::make_shared<CRunningEngine>(m_running);
}

std::shared_ptr<IWordApplication> CEmbeddedWordRegistry::CreateInstance(const std::string& classId) {
  if (classId != kClassId) return nullptr;
  return CreateWordEngine();
}

}  // namespace tiecalc
