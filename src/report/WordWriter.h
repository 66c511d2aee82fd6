#pragma once
// Builds a report document through the document-automation object model:
// attaches to a running engine or starts one, adds a blank document, and
// types text, paragraph marks, formatting and whole documents at the
// insertion point. Failures it detects are shown as message boxes and give a
// result of 0; errors raised by the engine during a call (WordError) are not
// caught and end the command.
//
// Use: construct; StartNewDocument (stop when it gives 0); SaveDocumentAs and
// OpenDocument with the chosen path; the content; SaveDocument; CloseWord.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog/Desktop.h"
#include "platform/word/WordEngine.h"
#include "platform/word/WordObjectModel.h"

namespace tiecalc {

class CWordWriter {
 public:
  // The registry answers the lookup of "Word.Application"; by default the
  // embedded engine.
  explicit CWordWriter(IDesktop& desktop,
                       std::shared_ptr<IWordClassRegistry> registry = std::make_shared<CEmbeddedWordRegistry>());
  ~CWordWriter();
  CWordWriter(const CWordWriter&) = delete;
  CWordWriter& operator=(const CWordWriter&) = delete;

  int StartNewDocument();
  int SaveDocumentAs(const std::string& path);
  int OpenDocument(const std::string& path);
  // Font of the text typed next; size in points, colour as 0x00BBGGRR.
  void SetFont(const std::string& name, float size, int32_t color, int32_t highlight);
  void SetFontStyle(int32_t bold, int32_t italic, int32_t underline);
  // 0 left, 1 centred, 2 right, 3 justified.
  void SetAlignment(int32_t alignment);
  void WriteText(const std::string& text);
  void NewParagraphs(int32_t count);
  void InsertDocumentFile(const std::string& path);
  // A table at the insertion point, row by row, the text going on below it;
  // 0 when the engine gives no table.
  int WriteTable(const std::vector<std::vector<std::string>>& cells);
  int SaveDocument();
  // Quits the engine if this writer started it, else leaves it running with
  // the document open; drops every reference.
  void CloseWord();

 private:
  int ConnectWord();
  int RefreshTargets();
  // Replaces the selection by a placeholder that the formatting is applied to
  // and the next typed text replaces.
  bool SelectPlaceholder();
  void Message(const char* text, MessageIcon icon);

  IDesktop& m_desktop;
  std::shared_ptr<IWordClassRegistry> m_registry;
  std::shared_ptr<IWordApplication> m_app;
  std::shared_ptr<IWordDocuments> m_docs;
  std::shared_ptr<IWordDocument> m_doc;
  std::shared_ptr<IWordFont> m_font;
  std::shared_ptr<IWordSelection> m_sel;
  std::shared_ptr<IWordRange> m_range;
  std::shared_ptr<IWordTables> m_tables;
  int m_startedWord = 1;
};

}  // namespace tiecalc
