#include "platform/sheetdb/SheetDbMessages.h"

#include "platform/file/FileMessages.h"

namespace tiecalc::sheetdb {

namespace {

constexpr const char* kNotReadable = "文件 %p 不是可以读取的 %f 工作簿，文件保持原样。请另选一个文件名导出。";
constexpr const char* kTooLarge = "工作簿 %p 超出了本程序读取的限度（%l），文件保持原样。请另选一个工作簿导出。";
constexpr const char* kCannotRead = "无法读取工作簿 %p，文件保持原样。请确认文件可以打开，或另选一个文件名。";
constexpr const char* kCannotSave = "无法写入工作簿";
constexpr const char* kCannotBackUp = "无法保存工作簿的备份";
constexpr const char* kCannotCompose = "无法生成 %f 工作簿：%w。文件保持原样。";
constexpr const char* kTextTooLong = "工作表“%s”的单元格 %c 的文字超过 32767 个字符，工作簿的单元格放不下";
constexpr const char* kSheetTooLarge = "工作表“%s”超出了一张工作表的大小（最多 65536 行、256 列）";

}  // namespace

std::string NotReadableMessage(const std::string& path, const std::string& format, const std::string& detail) {
  return file::WithDetail(file::FillMark(file::FillMark(kNotReadable, "%p", path), "%f", format), detail);
}

std::string TooLargeMessage(const std::string& path, const std::string& limit) {
  return file::FillMark(file::FillMark(kTooLarge, "%p", path), "%l", limit);
}

std::string CannotReadMessage(const std::string& path, const std::string& detail) {
  return file::WithDetail(file::FillMark(kCannotRead, "%p", path), detail);
}

std::string CannotComposeMessage(const std::string& format, const std::string& why) {
  return file::FillMark(file::FillMark(kCannotCompose, "%f", format), "%w", why);
}

std::string TextTooLongMessage(const std::string& sheet, const std::string& cell) {
  return file::FillMark(file::FillMark(kTextTooLong, "%s", sheet), "%c", cell);
}

std::string SheetTooLargeMessage(const std::string& sheet) { return file::FillMark(kSheetTooLarge, "%s", sheet); }

std::string CannotSaveMessage(const file::CFileError& error) { return file::FileMessage(kCannotSave, error); }

std::string CannotBackUpMessage(const file::CFileError& error) { return file::FileMessage(kCannotBackUp, error); }

}  // namespace tiecalc::sheetdb
