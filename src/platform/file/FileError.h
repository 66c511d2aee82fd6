#pragma once
// The failure of a file operation of the platform: what was attempted, on
// which file, and the system's code. The layers above turn it into their own
// message (FileMessages.h gives the common Chinese words); its what() is
// already such a message ("无法写入文件 PATH：磁盘已满"), so that a caller
// showing what() of any std::exception shows Chinese too.

#include <stdexcept>
#include <string>
#include <system_error>

namespace tiecalc::file {

class CFileError;

// "无法写入文件 PATH：WHY" for error (FileMessages.cpp).
std::string DescribeFileError(const CFileError& error);

class CFileError : public std::runtime_error {
 public:
  enum class Kind {
    Write,       // the new content could not be written beside the target
    Replace,     // the finished file could not take the target's place
    ReadOnly,    // the target is marked read-only
    Locked,      // another writer kept the file busy for too long
    Read,        // a file that had to be read (to be copied) could not be
    NotRegular,  // the target is a folder, a named pipe, a device or a socket
    Lock,        // the lock file beside the target cannot serve as a lock
  };

  // thing: what the target (NotRegular) or the lock file (Lock) is when it
  // is no regular file ("命名管道"); lockPath: the lock file (Lock).
  CFileError(Kind kind, std::string path, std::error_code code, std::string thing = {}, std::string lockPath = {})
      : std::runtime_error(std::string()), m_kind(kind), m_path(std::move(path)), m_code(code),
        m_thing(std::move(thing)), m_lockPath(std::move(lockPath)) {
    static_cast<std::runtime_error&>(*this) = std::runtime_error(DescribeFileError(*this));
  }

  Kind GetKind() const { return m_kind; }
  const std::string& Path() const { return m_path; }
  std::error_code Code() const { return m_code; }
  const std::string& Thing() const { return m_thing; }
  const std::string& LockPath() const { return m_lockPath; }

 private:
  Kind m_kind;
  std::string m_path;
  std::error_code m_code;
  std::string m_thing;
  std::string m_lockPath;
};

}  // namespace tiecalc::file
