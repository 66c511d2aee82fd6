#include "platform/word/RecordingWord.h"

#include <sstream>

namespace tiecalc {

namespace {

using Log = std::shared_ptr<WordCallLog>;

std::string Arg(const std::string& text) { return RecordedString(text); }
std::string Arg(bool value) { return value ? "BOOL true" : "BOOL false"; }
std::string Arg(int16_t value) { return "I2 " + std::to_string(value); }
std::string Arg(int32_t value) { return "I4 " + std::to_string(value); }
std::string Arg(float value) {
  std::ostringstream out;
  out << "R4 " << value;
  return out.str();
}
template <typename T>
std::string Arg(const std::optional<T>& value) {
  return value ? Arg(*value) : "-";
}

// What all recording objects share: the log, the object's name for its
// release line, and the object it forwards to.
template <typename Inner>
class CRecorded {
 public:
  CRecorded(Log log, const char* name, std::shared_ptr<Inner> inner)
      : m_log(std::move(log)), m_name(name), m_inner(std::move(inner)) {}
  ~CRecorded() { m_log->calls.push_back(std::string("Release ") + m_name); }
  CRecorded(const CRecorded&) = delete;
  CRecorded& operator=(const CRecorded&) = delete;
  const std::shared_ptr<Inner>& Inner_() const { return m_inner; }

 protected:
  void Record(const std::string& line) { m_log->calls.push_back(line); }
  WordFaults& Faults() { return m_log->faults; }

  Log m_log;
  const char* m_name;
  std::shared_ptr<Inner> m_inner;
};

// A recording wrapper of what an inner call gave: none when the fault is set
// or the inner object gave none; a bare recorder when there is no inner side.
template <typename Wrapper, typename Inner, typename Get>
std::shared_ptr<Wrapper> Wrap(const Log& log, bool fault, const std::shared_ptr<Inner>& owner, Get get) {
  if (fault) return nullptr;
  if (!owner) return std::make_shared<Wrapper>(log, nullptr);
  auto inner = get(*owner);
  if (!inner) return nullptr;
  return std::make_shared<Wrapper>(log, std::move(inner));
}

template <typename Inner, typename Wrapper>
std::shared_ptr<Inner> Unwrap(const std::shared_ptr<Inner>& object) {
  auto wrapper = std::dynamic_pointer_cast<Wrapper>(object);
  return wrapper ? wrapper->Inner_() : object;
}

class CFont : public IWordFont, public CRecorded<IWordFont> {
 public:
  CFont(Log log, std::shared_ptr<IWordFont> inner) : CRecorded(std::move(log), "Font", std::move(inner)) {}
  void SetSize(float points) override {
    Record("Font.Size = " + Arg(points));
    if (m_inner) m_inner->SetSize(points);
  }
  void SetName(const std::string& name) override {
    Record("Font.Name = " + Arg(name));
    if (m_inner) m_inner->SetName(name);
  }
  void SetColor(int32_t bgr) override {
    Record("Font.Color = " + Arg(bgr));
    if (m_inner) m_inner->SetColor(bgr);
  }
  void SetBold(int32_t bold) override {
    Record("Font.Bold = " + Arg(bold));
    if (m_inner) m_inner->SetBold(bold);
  }
  void SetItalic(int32_t italic) override {
    Record("Font.Italic = " + Arg(italic));
    if (m_inner) m_inner->SetItalic(italic);
  }
  void SetUnderline(int32_t underline) override {
    Record("Font.Underline = " + Arg(underline));
    if (m_inner) m_inner->SetUnderline(underline);
  }
};

class CParagraphFormat : public IWordParagraphFormat, public CRecorded<IWordParagraphFormat> {
 public:
  CParagraphFormat(Log log, std::shared_ptr<IWordParagraphFormat> inner)
      : CRecorded(std::move(log), "ParagraphFormat", std::move(inner)) {}
  void SetAlignment(int32_t alignment) override {
    Record("ParagraphFormat.Alignment = " + Arg(alignment));
    if (m_inner) m_inner->SetAlignment(alignment);
  }
};

class CRange : public IWordRange, public CRecorded<IWordRange> {
 public:
  CRange(Log log, std::shared_ptr<IWordRange> inner) : CRecorded(std::move(log), "Range", std::move(inner)) {}
  void SetHighlightColorIndex(int32_t index) override {
    Record("Range.HighlightColorIndex = " + Arg(index));
    if (m_inner) m_inner->SetHighlightColorIndex(index);
  }
  void SetText(const std::string& text) override {
    Record("Range.Text = " + Arg(text));
    if (m_inner) m_inner->SetText(text);
  }
};

class CCell : public IWordCell, public CRecorded<IWordCell> {
 public:
  CCell(Log log, std::shared_ptr<IWordCell> inner) : CRecorded(std::move(log), "Cell", std::move(inner)) {}
  std::shared_ptr<IWordRange> Range() override {
    Record("Cell.Range");
    return Wrap<CRange>(m_log, false, m_inner, [](IWordCell& c) { return c.Range(); });
  }
};

class CTable : public IWordTable, public CRecorded<IWordTable> {
 public:
  CTable(Log log, std::shared_ptr<IWordTable> inner) : CRecorded(std::move(log), "Table", std::move(inner)) {}
  std::shared_ptr<IWordCell> Cell(int32_t row, int32_t column) override {
    Record("Table.Cell(" + Arg(row) + ", " + Arg(column) + ")");
    return Wrap<CCell>(m_log, false, m_inner, [&](IWordTable& t) { return t.Cell(row, column); });
  }
};

class CTables : public IWordTables, public CRecorded<IWordTables> {
 public:
  CTables(Log log, std::shared_ptr<IWordTables> inner) : CRecorded(std::move(log), "Tables", std::move(inner)) {}
  std::shared_ptr<IWordTable> Add(const std::shared_ptr<IWordRange>& range, int32_t rows, int32_t columns) override {
    Record(std::string("Tables.Add(") + (range ? "Range" : "-") + ", " + Arg(rows) + ", " + Arg(columns) + ")");
    return Wrap<CTable>(m_log, false, m_inner, [&](IWordTables& t) {
      return t.Add(Unwrap<IWordRange, CRange>(range), rows, columns);
    });
  }
};

class CSelection : public IWordSelection, public CRecorded<IWordSelection> {
 public:
  CSelection(Log log, std::shared_ptr<IWordSelection> inner)
      : CRecorded(std::move(log), "Selection", std::move(inner)) {}
  void SetText(const std::string& text) override {
    Record("Selection.Text = " + Arg(text));
    if (m_inner) m_inner->SetText(text);
  }
  std::shared_ptr<IWordFont> GetFont() override {
    Record("Selection.Font");
    return Wrap<CFont>(m_log, false, m_inner, [](IWordSelection& s) { return s.GetFont(); });
  }
  void SetFont(const std::shared_ptr<IWordFont>& font) override {
    Record(std::string("Selection.Font = ") + (font ? "Font" : "-"));
    if (m_inner) m_inner->SetFont(Unwrap<IWordFont, CFont>(font));
  }
  std::shared_ptr<IWordParagraphFormat> GetParagraphFormat() override {
    Record("Selection.ParagraphFormat");
    return Wrap<CParagraphFormat>(m_log, false, m_inner,
                                  [](IWordSelection& s) { return s.GetParagraphFormat(); });
  }
  void SetParagraphFormat(const std::shared_ptr<IWordParagraphFormat>& format) override {
    Record(std::string("Selection.ParagraphFormat = ") + (format ? "ParagraphFormat" : "-"));
    if (m_inner) m_inner->SetParagraphFormat(Unwrap<IWordParagraphFormat, CParagraphFormat>(format));
  }
  std::shared_ptr<IWordRange> GetRange() override {
    Record("Selection.Range");
    return Wrap<CRange>(m_log, false, m_inner, [](IWordSelection& s) { return s.GetRange(); });
  }
  void TypeText(const std::string& text) override {
    Record("Selection.TypeText(" + Arg(text) + ")");
    if (m_inner) m_inner->TypeText(text);
  }
  void TypeParagraph() override {
    Record("Selection.TypeParagraph");
    if (m_inner) m_inner->TypeParagraph();
  }
  void InsertFile(const std::string& fileName, const std::string& range, int16_t confirmConversions,
                  int16_t link, int16_t attachment) override {
    Record("Selection.InsertFile(" + Arg(fileName) + ", " + Arg(range) + ", " + Arg(confirmConversions) +
           ", " + Arg(link) + ", " + Arg(attachment) + ")");
    if (m_inner) m_inner->InsertFile(fileName, range, confirmConversions, link, attachment);
  }
};

class CDocument : public IWordDocument, public CRecorded<IWordDocument> {
 public:
  CDocument(Log log, std::shared_ptr<IWordDocument> inner)
      : CRecorded(std::move(log), "Document", std::move(inner)) {}
  std::shared_ptr<IWordRange> Range(std::optional<int32_t> start, std::optional<int32_t> end) override {
    Record("Document.Range(" + Arg(start) + ", " + Arg(end) + ")");
    return Wrap<CRange>(m_log, Faults().noRange, m_inner,
                        [&](IWordDocument& d) { return d.Range(start, end); });
  }
  std::shared_ptr<IWordTables> Tables() override {
    Record("Document.Tables");
    return Wrap<CTables>(m_log, Faults().noTables, m_inner, [](IWordDocument& d) { return d.Tables(); });
  }
  void SaveAs(const WordSaveAsArgs& a) override {
    Record("Document.SaveAs(" + Arg(a.fileName) + ", " + Arg(a.fileFormat) + ", " + Arg(a.lockComments) +
           ", " + Arg(a.password) + ", " + Arg(a.addToRecentFiles) + ", " + Arg(a.writePassword) + ", " +
           Arg(a.readOnlyRecommended) + ", " + Arg(a.embedTrueTypeFonts) + ", " +
           Arg(a.saveNativePictureFormat) + ", " + Arg(a.saveFormsData) + ", " + Arg(a.saveAsAOCELetter) +
           ", " + Arg(a.encoding) + ", " + Arg(a.insertLineBreaks) + ", " + Arg(a.allowSubstitutions) +
           ", " + Arg(a.lineEnding) + ", " + Arg(a.addBiDiMarks) + ")");
    if (m_inner) m_inner->SaveAs(a);
  }
  void Save() override {
    Record("Document.Save");
    if (m_inner) m_inner->Save();
  }
};

class CDocuments : public IWordDocuments, public CRecorded<IWordDocuments> {
 public:
  CDocuments(Log log, std::shared_ptr<IWordDocuments> inner)
      : CRecorded(std::move(log), "Documents", std::move(inner)) {}
  std::shared_ptr<IWordDocument> Add(const std::string& templateName, bool newTemplate, int32_t documentType,
                                     bool visible) override {
    Record("Documents.Add(" + Arg(templateName) + ", " + Arg(newTemplate) + ", " + Arg(documentType) + ", " +
           Arg(visible) + ")");
    return Wrap<CDocument>(m_log, false, m_inner, [&](IWordDocuments& d) {
      return d.Add(templateName, newTemplate, documentType, visible);
    });
  }
  std::shared_ptr<IWordDocument> Open(const WordOpenArgs& a) override {
    Record("Documents.Open(" + Arg(a.fileName) + ", " + Arg(a.confirmConversions) + ", " + Arg(a.readOnly) +
           ", " + Arg(a.addToRecentFiles) + ", " + Arg(a.passwordDocument) + ", " + Arg(a.passwordTemplate) +
           ", " + Arg(a.revert) + ", " + Arg(a.writePasswordDocument) + ", " + Arg(a.writePasswordTemplate) +
           ", " + Arg(a.format) + ", " + Arg(a.encoding) + ", " + Arg(a.visible) + ", " +
           Arg(a.openAndRepair) + ", " + Arg(a.documentDirection) + ", " + Arg(a.noEncodingDialog) + ", " +
           Arg(a.xmlTransform) + ")");
    return Wrap<CDocument>(m_log, Faults().noOpenedDocument, m_inner,
                           [&](IWordDocuments& d) { return d.Open(a); });
  }
};

class CApplication : public IWordApplication, public CRecorded<IWordApplication> {
 public:
  CApplication(Log log, std::shared_ptr<IWordApplication> inner)
      : CRecorded(std::move(log), "Application", std::move(inner)) {}
  std::shared_ptr<IWordDocuments> Documents() override {
    Record("Application.Documents");
    return Wrap<CDocuments>(m_log, Faults().noDocuments, m_inner,
                            [](IWordApplication& a) { return a.Documents(); });
  }
  std::shared_ptr<IWordDocument> ActiveDocument() override {
    Record("Application.ActiveDocument");
    return Wrap<CDocument>(m_log, Faults().noActiveDocument, m_inner,
                           [](IWordApplication& a) { return a.ActiveDocument(); });
  }
  std::shared_ptr<IWordSelection> Selection() override {
    Record("Application.Selection");
    return Wrap<CSelection>(m_log, Faults().noSelection, m_inner,
                            [](IWordApplication& a) { return a.Selection(); });
  }
  void Quit(int16_t saveChanges, int16_t originalFormat, int16_t routeDocument) override {
    Record("Application.Quit(" + Arg(saveChanges) + ", " + Arg(originalFormat) + ", " + Arg(routeDocument) + ")");
    if (m_inner) m_inner->Quit(saveChanges, originalFormat, routeDocument);
  }
};

class CRunningInstance : public IWordRunningInstance, public CRecorded<IWordRunningInstance> {
 public:
  CRunningInstance(Log log, std::shared_ptr<IWordRunningInstance> inner)
      : CRecorded(std::move(log), "RunningInstance", std::move(inner)) {}
  std::shared_ptr<IWordApplication> QueryApplication() override {
    Record("RunningInstance.QueryApplication");
    return Wrap<CApplication>(m_log, Faults().noDispatch, m_inner,
                              [](IWordRunningInstance& r) { return r.QueryApplication(); });
  }
};

}  // namespace

std::string RecordedString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

CRecordingWordRegistry::CRecordingWordRegistry(std::shared_ptr<IWordClassRegistry> inner)
    : m_inner(std::move(inner)), m_log(std::make_shared<WordCallLog>()) {}

std::string CRecordingWordRegistry::Text() const {
  std::string text;
  for (const std::string& call : m_log->calls) text += call + "\n";
  return text;
}

std::optional<std::string> CRecordingWordRegistry::LookupClass(const std::string& progId) {
  m_log->calls.push_back("LookupClass(" + Arg(progId) + ")");
  if (m_log->faults.noClass) return std::nullopt;
  return m_inner ? m_inner->LookupClass(progId) : std::optional<std::string>("recorded-class");
}

std::shared_ptr<IWordRunningInstance> CRecordingWordRegistry::GetRunningInstance(const std::string& classId) {
  m_log->calls.push_back("GetRunningInstance");
  if (!m_inner) return m_log->faults.running ? std::make_shared<CRunningInstance>(m_log, nullptr) : nullptr;
  auto running = m_inner->GetRunningInstance(classId);
  return running ? std::make_shared<CRunningInstance>(m_log, std::move(running)) : nullptr;
}

std::shared_ptr<IWordApplication> CRecordingWordRegistry::CreateInstance(const std::string& classId) {
  m_log->calls.push_back("CreateInstance");
  if (m_log->faults.noInstance) return nullptr;
  if (!m_inner) return std::make_shared<CApplication>(m_log, nullptr);
  auto application = m_inner->CreateInstance(classId);
  return application ? std::make_shared<CApplication>(m_log, std::move(application)) : nullptr;
}

}  // namespace tiecalc
