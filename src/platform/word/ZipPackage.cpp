#include "platform/word/ZipPackage.h"

#include <zip.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/word/WordError.h"

namespace tiecalc {

namespace {

namespace fs = std::filesystem;

constexpr const char* kContentTypes = "[Content_Types].xml";

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

// Paths are UTF-8 throughout.
fs::path PathOf(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string TextOf(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A name beside the target that no other writer of this process or another
// one picks at the same moment.
fs::path TemporaryPathBeside(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::string name = "." + TextOf(target.filename()) + ".tmp" +
                           std::to_string(static_cast<unsigned long long>(stamp)) + "-" +
                           std::to_string(counter++);
  return target.parent_path() / PathOf(name);
}

void AddPart(zip_t* archive, const std::string& name, const std::string& data,
             const std::string& path) {
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  if (!source) throw WordError("无法写入文件 " + path + ": " + zip_strerror(archive));
  const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    throw WordError("无法写入文件 " + path + ": " + zip_strerror(archive));
  }
  // 1980-01-01 00:00, the earliest time a zip entry can carry.
  zip_file_set_dostime(archive, static_cast<zip_uint64_t>(index), 0, (0 << 9) | (1 << 5) | 1, 0);
}

}  // namespace

PackageParts ReadPackage(const std::string& path) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (!archive) throw WordError("无法打开文档 " + path + ": " + ZipErrorText(code));
  PackageParts parts;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0) continue;
    const std::string name = stat.name;
    if (name.empty() || name.back() == '/') continue;  // folder entries hold nothing
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    if (!file) {
      const std::string reason = zip_strerror(archive);
      zip_discard(archive);
      throw WordError("无法读取文档 " + path + " 的 " + name + ": " + reason);
    }
    std::string data;
    std::vector<char> buffer(64 * 1024);
    zip_int64_t got = 0;
    while ((got = zip_fread(file, buffer.data(), buffer.size())) > 0)
      data.append(buffer.data(), static_cast<size_t>(got));
    const bool failed = got < 0;
    const std::string reason = failed ? zip_file_strerror(file) : "";
    zip_fclose(file);
    if (failed) {
      zip_discard(archive);
      throw WordError("无法读取文档 " + path + " 的 " + name + ": " + reason);
    }
    parts[name] = std::move(data);
  }
  zip_discard(archive);
  return parts;
}

void WritePackage(const std::string& path, const PackageParts& parts) {
  const fs::path target = PathOf(path);
  const fs::path temporary = TemporaryPathBeside(target);
  int code = 0;
  zip_t* archive = zip_open(TextOf(temporary).c_str(), ZIP_CREATE | ZIP_EXCL, &code);
  if (!archive) throw WordError("无法写入文件 " + path + ": " + ZipErrorText(code));
  try {
    auto types = parts.find(kContentTypes);
    if (types != parts.end()) AddPart(archive, types->first, types->second, path);
    for (const auto& [name, data] : parts)
      if (name != kContentTypes) AddPart(archive, name, data, path);
  } catch (...) {
    zip_discard(archive);
    throw;
  }
  if (zip_close(archive) != 0) {
    const std::string reason = zip_strerror(archive);
    zip_discard(archive);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw WordError("无法写入文件 " + path + ": " + reason);
  }
  std::error_code error;
  fs::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw WordError("无法写入文件 " + path + ": " + error.message());
  }
}

}  // namespace tiecalc
