#include "platform/word/ZipPackage.h"

#include <zip.h>

#include <string>
#include <system_error>

#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/word/WordError.h"

namespace tiecalc {

namespace {

constexpr const char* kContentTypes = "[Content_Types].xml";

// The archive library's error in Chinese words: its own codes the user can
// meet, and the system's code behind a failed read or write.
std::string ZipErrorWords(zip_error_t* error) {
  if (zip_error_system_type(error) == ZIP_ET_SYS)
    return file::SystemErrorInWords(std::error_code(zip_error_code_system(error), std::generic_category()));
  switch (zip_error_code_zip(error)) {
    case ZIP_ER_MEMORY: return "内存不足";
    case ZIP_ER_NOENT: return "文件不存在";
    case ZIP_ER_OPEN: return "文件无法打开";
    case ZIP_ER_READ: return "文件读取出错";
    case ZIP_ER_WRITE: return "文件写入出错";
    case ZIP_ER_NOZIP: return "不是 Word 文档（不是压缩包）";
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
    case ZIP_ER_EOF: return "文档已损坏";
    case ZIP_ER_COMPNOTSUPP: return "文档的压缩方式不受支持";
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD: return "文档已加密";
    default: return "压缩包出错（错误代码 " + std::to_string(zip_error_code_zip(error)) + "）";
  }
}

std::string ZipErrorText(zip_t* archive) { return ZipErrorWords(zip_get_error(archive)); }

constexpr const char* kCannotZip = "无法生成文档的压缩包：";

void AddPart(zip_t* archive, const std::string& name, const std::string& data) {
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  if (!source) throw WordError(kCannotZip + ZipErrorText(archive));
  const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    throw WordError(kCannotZip + ZipErrorText(archive));
  }
  // Pictures are compressed already: deflating them again costs more time
  // than writing the whole rest of a report and saves nothing.
  // The XML parts are deflated at the fastest level: a report is saved at
  // once, and the slower levels make it only a little smaller.
  if (name.ends_with(".png") || name.ends_with(".jpeg") || name.ends_with(".jpg"))
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
  else
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
  // 1980-01-01 00:00, the earliest time a zip entry can carry.
  zip_file_set_dostime(archive, static_cast<zip_uint64_t>(index), 0, (0 << 9) | (1 << 5) | 1, 0);
}

}  // namespace

std::string ZipPackage(const PackagePartViews& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
  if (!archive) {
    const std::string reason = ZipErrorWords(&error);
    zip_error_fini(&error);
    if (buffer) zip_source_free(buffer);
    throw WordError(kCannotZip + reason);
  }
  zip_error_fini(&error);
  zip_source_keep(buffer);  // it outlives the archive, holding the bytes
  try {
    auto types = parts.find(kContentTypes);
    if (types != parts.end()) AddPart(archive, types->first, *types->second);
    for (const auto& [name, data] : parts)
      if (name != kContentTypes) AddPart(archive, name, *data);
  } catch (...) {
    zip_discard(archive);
    zip_source_free(buffer);
    throw;
  }
  if (zip_close(archive) != 0) {
    const std::string reason = ZipErrorText(archive);
    zip_discard(archive);
    zip_source_free(buffer);
    throw WordError(kCannotZip + reason);
  }
  std::string bytes;
  zip_stat_t stat;
  bool read = zip_source_stat(buffer, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && zip_source_open(buffer) == 0;
  if (read) {
    bytes.resize(static_cast<size_t>(stat.size));
    read = zip_source_read(buffer, bytes.data(), bytes.size()) == static_cast<zip_int64_t>(bytes.size());
    zip_source_close(buffer);
  }
  zip_source_free(buffer);
  if (!read) throw WordError(std::string(kCannotZip) + "内存不足");
  return bytes;
}

PackageParts ReadPackage(std::string_view bytes, const std::string& name) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_RDONLY, &error) : nullptr;
  if (!archive) {
    const std::string reason = ZipErrorWords(&error);
    zip_error_fini(&error);
    if (buffer) zip_source_free(buffer);
    throw WordError("无法打开文档 " + name + "：" + reason);
  }
  zip_error_fini(&error);
  PackageParts parts;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0) continue;
    const std::string part = stat.name;
    if (part.empty() || part.back() == '/') continue;  // folder entries hold nothing
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    if (!file) {
      const std::string reason = ZipErrorText(archive);
      zip_discard(archive);
      throw WordError("无法读取文档 " + name + " 的 " + part + "：" + reason);
    }
    // Read straight into the part at the size the archive gives, then on
    // until the entry ends, whatever that size said.
    std::string data((stat.valid & ZIP_STAT_SIZE) ? static_cast<size_t>(stat.size) : 0, '\0');
    zip_int64_t got = data.empty() ? 0 : zip_fread(file, data.data(), data.size());
    if (got >= 0) {
      data.resize(static_cast<size_t>(got));
      char more[4096];
      while ((got = zip_fread(file, more, sizeof more)) > 0) data.append(more, static_cast<size_t>(got));
    }
    const bool failed = got < 0;
    const std::string reason = failed ? ZipErrorWords(zip_file_get_error(file)) : "";
    zip_fclose(file);
    if (failed) {
      zip_discard(archive);
      throw WordError("无法读取文档 " + name + " 的 " + part + "：" + reason);
    }
    parts[part] = std::move(data);
  }
  zip_discard(archive);
  return parts;
}

void WritePackage(const std::string& path, const PackageParts& parts) {
  PackagePartViews views;
  for (const auto& [name, data] : parts) views.emplace(name, &data);
  WritePackage(path, views);
}

void WritePackage(const std::string& path, const PackagePartViews& parts) {
  const std::string bytes = ZipPackage(parts);
  try {
    file::WriteFileAtomically(path, bytes);
  } catch (const file::CFileError& e) {
    throw WordError(file::FileMessage("无法写入文件", e));
  }
}

}  // namespace tiecalc
