#pragma once
// What the tests need from the system, the same on Linux and Windows: the
// environment, running a program, and a skip for what one system lacks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// Names the tests use that the system headers take as macros.
#undef near
#undef far
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/path/Utf8Path.h"

namespace tiecalc::portable {

#ifdef _WIN32
inline std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}
#endif

inline std::optional<std::string> GetEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::optional<std::string>(value) : std::nullopt;
}

inline void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // Both the C runtime's copy (getenv) and the process's (what the system's
  // GetTempPath reads) change.
  _putenv_s(name.c_str(), value ? value->c_str() : "");
  SetEnvironmentVariableW(Wide(name).c_str(), value ? Wide(*value).c_str() : nullptr);
#else
  if (value)
    setenv(name.c_str(), value->c_str(), 1);
  else
    unsetenv(name.c_str());
#endif
}

// The folder std::filesystem::temp_directory_path() gives: TMPDIR on Linux,
// TMP (then TEMP) on Windows.
inline const char* TemporaryFolderVariable() {
#ifdef _WIN32
  return "TMP";
#else
  return "TMPDIR";
#endif
}

// Sets a variable for the lifetime of the object, then restores it.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::optional<std::string>& value)
      : m_name(std::move(name)), m_old(GetEnvironment(m_name)) {
    SetEnvironment(m_name, value);
  }
  ~ScopedEnvironment() { SetEnvironment(m_name, m_old); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string m_name;
  std::optional<std::string> m_old;
};

struct ProcessResult {
  int status = -1;  // the exit code; -1 when the program could not run or did not exit
  std::string out, err;
};

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Runs args[0] with the arguments (UTF-8, passed as they are: no shell),
// its standard output and error into the two files, which it then returns.
inline ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& outFile,
                                const std::string& errFile) {
  ProcessResult result;
  if (args.empty()) return result;
#ifdef _WIN32
  // The command line as the C runtime splits it again: quotes around each
  // argument, backslashes doubled only before a quote.
  std::wstring line;
  for (const std::string& arg : args) {
    if (!line.empty()) line += L' ';
    line += L'"';
    size_t slashes = 0;
    for (wchar_t c : Wide(arg)) {
      if (c == L'\\') {
        ++slashes;
        continue;
      }
      line.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
      slashes = 0;
      line += c;
    }
    line.append(slashes * 2, L'\\');
    line += L'"';
  }
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  auto open = [&](const std::string& path) {
    return CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE out = open(outFile), err = open(errFile);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.status = static_cast<int>(code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
#else
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int raw = 0;
  if (child > 0 && waitpid(child, &raw, 0) == child && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
#endif
  result.out = ReadWhole(outFile);
  result.err = ReadWhole(errFile);
  return result;
}

// The independent readers of the files we write are Debian's python
// modules; a Windows build checks its files on the Linux side instead
// (scripts/test-windows).
inline bool IndependentReaderHere() {
#ifdef _WIN32
  return false;
#else
  return true;
#endif
}

}  // namespace tiecalc::portable

// Skips a test of something Windows does not have (symbolic links without
// privileges, POSIX permission bits), saying so in the test output.
#ifdef _WIN32
#define TIECALC_SKIP_ON_WINDOWS(what) GTEST_SKIP() << "not on Windows: " << (what)
#else
#define TIECALC_SKIP_ON_WINDOWS(what) static_cast<void>(0)
#endif

// Skips a test whose check needs the python readers, where they are not.
#define TIECALC_SKIP_WITHOUT_INDEPENDENT_READER()                                                  \
  if (!::tiecalc::portable::IndependentReaderHere())                                               \
  GTEST_SKIP() << "the independent readers (python3) run on the Linux side of this build"
