#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/path/Utf8Path.h"

namespace tiecalc {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             ("tiecalc-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // name and the result are UTF-8.
  std::string Path(const std::string& name = "") const { return Utf8FromPath(m_path / PathFromUtf8(name)); }

  std::string Read(const std::string& name) const {
    std::ifstream in(m_path / PathFromUtf8(name), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  // The names directly in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
      names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path m_path;
};

}  // namespace tiecalc
