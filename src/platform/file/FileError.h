#pragma once
// The failure of a file operation of the platform: what was attempted, on
// which file, and the system's own reason. The layers above turn it into
// their own message (FileMessages.h gives the common Chinese words); its
// what() is a plain technical text.

#include <stdexcept>
#include <string>
#include <system_error>

namespace tiecalc::file {

class CFileError : public std::runtime_error {
 public:
  enum class Kind {
    Write,     // the new content could not be written beside the target
    Replace,   // the finished file could not take the target's place
    ReadOnly,  // the target is marked read-only
    Locked,    // another writer kept the file busy for too long
    Read,      // a file that had to be read (to be copied) could not be
  };

  CFileError(Kind kind, std::string path, std::error_code code, std::string reason = {})
      : std::runtime_error(Describe(kind, path, reason.empty() ? code.message() : reason)),
        m_kind(kind), m_path(std::move(path)), m_code(code),
        m_reason(reason.empty() ? code.message() : std::move(reason)) {}

  Kind GetKind() const { return m_kind; }
  const std::string& Path() const { return m_path; }
  std::error_code Code() const { return m_code; }
  // The system's own text.
  const std::string& Reason() const { return m_reason; }

 private:
  static std::string Describe(Kind kind, const std::string& path, const std::string& reason) {
    return std::string(kind == Kind::Write ? "cannot write '" : kind == Kind::Read ? "cannot read '" : "cannot replace '") +
           path + "': " + reason;
  }

  Kind m_kind;
  std::string m_path;
  std::error_code m_code;
  std::string m_reason;
};

}  // namespace tiecalc::file
