#pragma once
// What a page asks of the desktop it runs on: a save-file dialog and message
// boxes. The window answers with real dialogs; the command-line tool and the
// tests answer with a script (CScriptedDesktop).

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tiecalc {

enum class MessageIcon { None, Exclamation, Information, Error, Question };

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
};

// Answers save dialogs from a queue of paths (an empty queue cancels) and
// records every request and message.
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

  const std::vector<SaveFileRequest>& Requests() const { return m_requests; }
  const std::vector<Message>& Messages() const { return m_messages; }

 private:
  std::deque<std::string> m_paths;
  std::vector<SaveFileRequest> m_requests;
  std::vector<Message> m_messages;
};

}  // namespace tiecalc
