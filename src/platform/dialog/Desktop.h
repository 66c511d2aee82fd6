#pragma once
// What a page asks of the desktop it runs on: a save-file dialog, message
// boxes and a question. The window answers with real dialogs; the
// command-line tool and the tests answer with a script (CScriptedDesktop).
// The desktop is also told what became of each output the user asked for.

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tiecalc {

enum class MessageIcon { None, Exclamation, Information, Error, Question };

// What became of one output the user asked for (an export, a report, a
// chart file, the book).
enum class OutputOutcome {
  Written,    // the file holds the new content
  Refused,    // invalid inputs, or nothing to write: said in a message box
  Cancelled,  // the user cancelled a dialog or a question
  Failed,     // the file could not be written: said in a message box
};

struct SaveFileRequest {
  std::string defaultExtension;  // as the caller passes it, e.g. "*.xls"
  std::string fileName;          // proposed name without folder
  std::string filter;            // "EXCEL文档(*.xls)|*.xls|" style: pairs of text|pattern|
  bool hideReadOnly = true;      // the read-only check box is hidden
  bool promptOverwrite = false;  // ask before replacing an existing file
};

class IDesktop {
 public:
  virtual ~IDesktop() = default;
  // The chosen full path, or nothing when the user cancels.
  virtual std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) = 0;
  // A modal message box with an OK button.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
  // A question with the buttons 继续 and 取消, 取消 the default: true to go on.
  virtual bool Confirm(const std::string& text) = 0;
  // Told once per output the user asked for, when it is over.
  virtual void OutputFinished(OutputOutcome /*outcome*/) {}
};

// Runs an output command (returning its OutputOutcome) and tells desktop how
// it ended; a command that throws has failed, and its exception goes on.
template <class Command>
OutputOutcome RecordOutput(IDesktop& desktop, Command command) {
  OutputOutcome outcome = OutputOutcome::Failed;
  try {
    outcome = command();
  } catch (...) {
    desktop.OutputFinished(OutputOutcome::Failed);
    throw;
  }
  desktop.OutputFinished(outcome);
  return outcome;
}

// Answers save dialogs from a queue of paths (an empty queue cancels) and
// questions with one fixed answer (取消 unless told otherwise), and records
// every request, message (a question too, with the Question icon) and
// output outcome.
class CScriptedDesktop : public IDesktop {
 public:
  struct Message {
    std::string text;
    MessageIcon icon;
  };

  void QueueSavePath(std::string path) { m_paths.push_back(std::move(path)); }

  std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) override {
    m_requests.push_back(request);
    if (m_paths.empty()) return std::nullopt;
    std::string path = std::move(m_paths.front());
    m_paths.pop_front();
    return path;
  }

  void ShowMessage(const std::string& text, MessageIcon icon) override {
    m_messages.push_back({text, icon});
  }

  void AnswerQuestions(bool goOn) { m_goOn = goOn; }
  bool Confirm(const std::string& text) override {
    m_messages.push_back({text, MessageIcon::Question});
    return m_goOn;
  }

  void OutputFinished(OutputOutcome outcome) override { m_outcomes.push_back(outcome); }
  const std::vector<OutputOutcome>& Outcomes() const { return m_outcomes; }

  const std::vector<SaveFileRequest>& Requests() const { return m_requests; }
  const std::vector<Message>& Messages() const { return m_messages; }

 private:
  std::deque<std::string> m_paths;
  std::vector<SaveFileRequest> m_requests;
  std::vector<Message> m_messages;
  std::vector<OutputOutcome> m_outcomes;
  bool m_goOn = false;
};

}  // namespace tiecalc
