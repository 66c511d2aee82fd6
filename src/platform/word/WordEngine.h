#pragma once
// The embedded document engine behind the automation object model: it keeps
// documents in memory and stores them as Office Open XML word-processing
// packages (whatever the file's extension), so no office suite is needed.

#include <memory>
#include <optional>
#include <string>

#include "platform/word/WordObjectModel.h"

namespace tiecalc {

// A fresh engine instance with no document open.
std::shared_ptr<IWordApplication> CreateWordEngine();

// Knows the program identifier "Word.Application" and answers it with the
// embedded engine. No engine runs beforehand unless one is given: each lookup
// then creates a new instance, which quits when its user is done.
class CEmbeddedWordRegistry : public IWordClassRegistry {
 public:
  explicit CEmbeddedWordRegistry(std::shared_ptr<IWordApplication> running = nullptr)
      : m_running(std::move(running)) {}

  std::optional<std::string> LookupClass(const std::string& progId) override;
  std::shared_ptr<IWordRunningInstance> GetRunningInstance(const std::string& classId) override;
  std::shared_ptr<IWordApplication> CreateInstance(const std::string& classId) override;

 private:
  std::shared_ptr<IWordApplication> m_running;
};

}  // namespace tiecalc
