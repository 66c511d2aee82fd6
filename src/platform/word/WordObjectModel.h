#pragma once
// The document-automation object model the Word writer drives: application,
// document collection, document, selection, font, paragraph format and range,
// with the members the writer calls and their automation argument types
// (int16_t for 16-bit integers, int32_t for 32-bit integers, float for 4-byte
// reals). An argument the caller omits is an empty std::optional.
//
// An object reference is a std::shared_ptr; an empty one is a call that gave
// no object. Errors raised during a call are WordError exceptions.
//
// Two implementations: the embedded engine (WordEngine.h), which writes real
// documents, and the recorder (RecordingWord.h), which logs every call.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tiecalc {

class IWordFont {
 public:
  virtual ~IWordFont() = default;
  virtual void SetSize(float points) = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual void SetColor(int32_t bgr) = 0;  // 0x00BBGGRR, as Word's colour values
  virtual void SetBold(int32_t bold) = 0;
  virtual void SetItalic(int32_t italic) = 0;
  virtual void SetUnderline(int32_t underline) = 0;
};

class IWordParagraphFormat {
 public:
  virtual ~IWordParagraphFormat() = default;
  // 0 left, 1 centred, 2 right, 3 justified, 4 distributed.
  virtual void SetAlignment(int32_t alignment) = 0;
};

class IWordRange {
 public:
  virtual ~IWordRange() = default;
  virtual void SetHighlightColorIndex(int32_t index) = 0;
  // Replaces the text of the range.
  virtual void SetText(const std::string& text) = 0;
};

class IWordCell {
 public:
  virtual ~IWordCell() = default;
  virtual std::shared_ptr<IWordRange> Range() = 0;
};

class IWordTable {
 public:
  virtual ~IWordTable() = default;
  // Rows and columns count from 1.
  virtual std::shared_ptr<IWordCell> Cell(int32_t row, int32_t column) = 0;
};

// The tables of a document.
class IWordTables {
 public:
  virtual ~IWordTables() = default;
  // A table of empty cells at the range, the text typed after it going on
  // below the table.
  virtual std::shared_ptr<IWordTable> Add(const std::shared_ptr<IWordRange>& range, int32_t rows,
                                          int32_t columns) = 0;
};

class IWordSelection {
 public:
  virtual ~IWordSelection() = default;
  // Replaces the selection by the text, which stays selected.
  virtual void SetText(const std::string& text) = 0;
  virtual std::shared_ptr<IWordFont> GetFont() = 0;
  virtual void SetFont(const std::shared_ptr<IWordFont>& font) = 0;
  virtual std::shared_ptr<IWordParagraphFormat> GetParagraphFormat() = 0;
  virtual void SetParagraphFormat(const std::shared_ptr<IWordParagraphFormat>& format) = 0;
  virtual std::shared_ptr<IWordRange> GetRange() = 0;
  // Types over the selection; "\r\n" (or a lone "\r" or "\n") ends a paragraph.
  virtual void TypeText(const std::string& text) = 0;
  virtual void TypeParagraph() = 0;
  virtual void InsertFile(const std::string& fileName, const std::string& range,
                          int16_t confirmConversions, int16_t link, int16_t attachment) = 0;
};

// Document.SaveAs arguments after FileName, in their order.
struct WordSaveAsArgs {
  std::string fileName;
  std::optional<int32_t> fileFormat;
  std::optional<bool> lockComments;
  std::optional<std::string> password;
  std::optional<bool> addToRecentFiles;
  std::optional<std::string> writePassword;
  std::optional<bool> readOnlyRecommended;
  std::optional<bool> embedTrueTypeFonts;
  std::optional<bool> saveNativePictureFormat;
  std::optional<bool> saveFormsData;
  std::optional<bool> saveAsAOCELetter;
  std::optional<int32_t> encoding;
  std::optional<bool> insertLineBreaks;
  std::optional<bool> allowSubstitutions;
  std::optional<int32_t> lineEnding;
  std::optional<bool> addBiDiMarks;
};

// Documents.Open arguments, in their order.
struct WordOpenArgs {
  std::string fileName;
  std::optional<int16_t> confirmConversions;
  std::optional<int16_t> readOnly;
  std::optional<int16_t> addToRecentFiles;
  std::optional<std::string> passwordDocument;
  std::optional<std::string> passwordTemplate;
  std::optional<bool> revert;
  std::optional<std::string> writePasswordDocument;
  std::optional<std::string> writePasswordTemplate;
  std::optional<int32_t> format;
  std::optional<int32_t> encoding;
  std::optional<bool> visible;
  std::optional<bool> openAndRepair;
  std::optional<int16_t> documentDirection;
  std::optional<bool> noEncodingDialog;
  std::optional<std::string> xmlTransform;
};

class IWordDocument {
 public:
  virtual ~IWordDocument() = default;
  virtual std::shared_ptr<IWordRange> Range(std::optional<int32_t> start,
                                            std::optional<int32_t> end) = 0;
  virtual std::shared_ptr<IWordTables> Tables() = 0;
  virtual void SaveAs(const WordSaveAsArgs& args) = 0;
  virtual void Save() = 0;
};

class IWordDocuments {
 public:
  virtual ~IWordDocuments() = default;
  virtual std::shared_ptr<IWordDocument> Add(const std::string& templateName, bool newTemplate,
                                             int32_t documentType, bool visible) = 0;
  virtual std::shared_ptr<IWordDocument> Open(const WordOpenArgs& args) = 0;
};

class IWordApplication {
 public:
  virtual ~IWordApplication() = default;
  virtual std::shared_ptr<IWordDocuments> Documents() = 0;
  virtual std::shared_ptr<IWordDocument> ActiveDocument() = 0;
  virtual std::shared_ptr<IWordSelection> Selection() = 0;
  virtual void Quit(int16_t saveChanges, int16_t originalFormat, int16_t routeDocument) = 0;
};

// What the running-object lookup hands out: an instance that still has to be
// asked for its automation interface.
class IWordRunningInstance {
 public:
  virtual ~IWordRunningInstance() = default;
  virtual std::shared_ptr<IWordApplication> QueryApplication() = 0;
};

// The system's automation services for one program identifier.
class IWordClassRegistry {
 public:
  virtual ~IWordClassRegistry() = default;
  // The class id registered under the program identifier, if any.
  virtual std::optional<std::string> LookupClass(const std::string& progId) = 0;
  virtual std::shared_ptr<IWordRunningInstance> GetRunningInstance(const std::string& classId) = 0;
  virtual std::shared_ptr<IWordApplication> CreateInstance(const std::string& classId) = 0;
};

}  // namespace tiecalc
