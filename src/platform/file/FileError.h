#pragma once
// The failure of a file operation of the platform: what was attempted, on
// which file, and the system's own reason. The layers above turn it into
// their own message; its what() is a plain technical text.

#include <stdexcept>
#include <string>

namespace tiecalc::file {

class CFileError : public std::runtime_error {
 public:
  enum class Kind {
    Write,     // the new content could not be written beside the target
    Replace,   // the finished file could not take the target's place
    ReadOnly,  // the target is marked read-only
  };

  CFileError(Kind kind, std::string path, std::string reason)
      : std::runtime_error(Describe(kind, path, reason)),
        m_kind(kind), m_path(std::move(path)), m_reason(std::move(reason)) {}

  Kind GetKind() const { return m_kind; }
  const std::string& Path() const { return m_path; }
  const std::string& Reason() const { return m_reason; }

 private:
  static std::string Describe(Kind kind, const std::string& path, const std::string& reason) {
    return std::string(kind == Kind::Write ? "cannot write '" : "cannot replace '") + path + "': " + reason;
  }

  Kind m_kind;
  std::string m_path;
  std::string m_reason;
};

}  // namespace tiecalc::file
