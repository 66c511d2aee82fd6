#include "platform/file/FileMessages.h"

#include <utility>

#include <cerrno>

namespace tiecalc::file {

namespace {

struct Words {
  int code;
  const char* why;
};

// The system's codes a user meets when saving, in plain words.
constexpr Words kWhy[] = {
    {ENOENT, "文件夹不存在"},
    {ENOTDIR, "路径中有一级不是文件夹"},
    {EISDIR, "这个名字是一个文件夹"},
    {ENOSPC, "磁盘已满"},
#ifdef EDQUOT  // not in Windows' C runtime
    {EDQUOT, "磁盘配额已用完"},
#endif
    {EROFS, "磁盘是只读的"},
    {EACCES, "没有写入权限"},
    {EPERM, "文件被锁定或不允许修改"},
    {ENAMETOOLONG, "文件名太长"},
    {EBUSY, "文件正被其他程序使用"},
    {EIO, "磁盘读写出错"},
};

constexpr const char* kReadOnly = "文件是只读的";
constexpr const char* kLocked = "另一个导出正在写这个文件";
constexpr const char* kOther = "系统拒绝了这次操作";
constexpr const char* kAdviceLocked = "请稍后再试";
constexpr const char* kAdvice = "请换一个文件夹或文件名再试";

}  // namespace

std::string WhyInWords(const CFileError& error) {
  if (error.GetKind() == CFileError::Kind::ReadOnly) return kReadOnly;
  if (error.GetKind() == CFileError::Kind::Locked) return kLocked;
  for (const Words& w : kWhy)
    if (error.Code().value() == w.code && error.Code().category() == std::generic_category()) return w.why;
  for (const Words& w : kWhy)
    if (error.Code() == std::error_condition(w.code, std::generic_category())) return w.why;
  return kOther;
}

std::string FileMessage(const std::string& what, const CFileError& error) {
  std::string text = what + " " + error.Path() + "：" + WhyInWords(error) + "。" +
                     (error.GetKind() == CFileError::Kind::Locked ? kAdviceLocked : kAdvice) + "。";
  return WithDetail(std::move(text), error.Reason());
}

std::string FillMark(std::string text, std::string_view mark, std::string_view value) {
  const size_t at = text.find(mark);
  if (at != std::string::npos) text.replace(at, mark.size(), value);
  return text;
}

std::string WithDetail(std::string text, std::string detail) {
  while (!detail.empty() && detail.back() == '\n') detail.pop_back();
  return detail.empty() ? text : text + "\n" + detail;
}

}  // namespace tiecalc::file
