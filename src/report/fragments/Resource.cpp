#include "report/fragments/Resource.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/path/Utf8Path.h"
#include "report/fragments/EmbeddedFiles.h"
#include "report/fragments/Fragments.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tiecalc {

namespace {

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

// The full path of the running executable.
std::string ExecutablePath() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return {};
  return Utf8FromPath(std::filesystem::path(std::wstring(buffer, length)));
#else
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : Utf8FromPath(path);
#endif
}

bool SameTypeName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string ProgramDirectoryOf(const std::string& executablePath) {
  const std::size_t separator = executablePath.find_last_of(kSeparators);
  const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
  const std::string fileName = executablePath.substr(nameStart);
  const std::string exeText = fileName.substr(0, fileName.rfind('.')) + ".exe";

  std::string rest = executablePath;
  for (std::size_t at = rest.find(exeText); at != std::string::npos; at = rest.find(exeText, at))
    rest.erase(at, exeText.size());
  if (rest.empty() || std::strchr(kSeparators, rest.back()) == nullptr) rest = executablePath.substr(0, nameStart);
  return rest;
}

std::string ProgramDirectory() {
  const std::string path = ExecutablePath();
  return path.empty() ? std::string() : ProgramDirectoryOf(path);
}

std::span<const unsigned char> FindResourceData(int id, const std::string& type) {
  const FragmentInfo* fragment = FindFragment(id);
  if (!fragment || !SameTypeName(type, kFragmentResourceType)) return {};
  for (const EmbeddedFile& file : EmbeddedFragmentFiles())
    if (std::strcmp(file.name, fragment->fileName) == 0) return {file.data, file.size};
  return {};
}

int WriteResourceToFile(int id, const std::string& type, const std::string& path) {
  const std::span<const unsigned char> data = FindResourceData(id, type);
  if (data.empty()) return 0;
  const std::filesystem::path file = PathFromUtf8(path);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return 0;
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return 0;
  }
  return 1;
}

}  // namespace tiecalc
