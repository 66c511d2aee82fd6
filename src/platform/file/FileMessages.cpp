#include "platform/file/FileMessages.h"

#include <utility>

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

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
#ifdef ELOOP
    {ELOOP, "链接循环（链接层层指向自己）"},
#endif
    {EMLINK, "链接太多"},
    {EEXIST, "文件已存在"},
    {EXDEV, "不能跨磁盘移动文件"},
    {EFBIG, "文件太大"},
    {EMFILE, "打开的文件太多"},
    {ENFILE, "打开的文件太多"},
    {EINVAL, "文件名无效"},
    {ENXIO, "设备不存在"},
    {ENODEV, "设备不存在"},
    {ENOMEM, "内存不足"},
    {EAGAIN, "资源暂时不可用"},
    {EINTR, "操作被中断"},
#ifdef ETXTBSY
    {ETXTBSY, "文件正被执行"},
#endif
};

#ifdef _WIN32
// The disk quota's code, which mingw-w64's headers do not name.
constexpr int kErrorDiskQuotaExceeded = 1295;

// Windows' own codes (GetLastError), where a call of the system gave one.
constexpr Words kWhyWindows[] = {
    {ERROR_FILE_NOT_FOUND, "文件不存在"},
    {ERROR_PATH_NOT_FOUND, "文件夹不存在"},
    {ERROR_ACCESS_DENIED, "没有写入权限"},
    {ERROR_SHARING_VIOLATION, "文件正被其他程序使用"},
    {ERROR_LOCK_VIOLATION, "文件正被其他程序使用"},
    {ERROR_DISK_FULL, "磁盘已满"},
    {ERROR_HANDLE_DISK_FULL, "磁盘已满"},
    {kErrorDiskQuotaExceeded, "磁盘配额已用完"},
    {ERROR_WRITE_PROTECT, "磁盘是只读的"},
    {ERROR_FILENAME_EXCED_RANGE, "文件名太长"},
    {ERROR_INVALID_NAME, "文件名无效"},
    {ERROR_DIRECTORY, "路径中有一级不是文件夹"},
    {ERROR_CANT_RESOLVE_FILENAME, "链接循环（链接层层指向自己）"},
    {ERROR_NOT_READY, "磁盘没有准备好"},
    {ERROR_CRC, "磁盘读写出错"},
    {ERROR_IO_DEVICE, "磁盘读写出错"},
    {ERROR_FILE_EXISTS, "文件已存在"},
    {ERROR_ALREADY_EXISTS, "文件已存在"},
    {ERROR_NOT_SAME_DEVICE, "不能跨磁盘移动文件"},
    {ERROR_NOT_ENOUGH_MEMORY, "内存不足"},
    {ERROR_OUTOFMEMORY, "内存不足"},
};
#endif

constexpr const char* kReadOnly = "文件是只读的";
constexpr const char* kLocked = "另一个导出正在写这个文件";
constexpr const char* kNotRegular = "不是普通文件（是%t），文件保持原样";
constexpr const char* kLockNotRegular = "锁文件 %l 不是普通文件（是%t），无法加锁";
constexpr const char* kLockUnusable = "锁文件 %l 无法打开：%s";
constexpr const char* kNoFile = "文件不存在";
constexpr const char* kOther = "系统拒绝了这次操作（错误代码 %n）";
constexpr const char* kAdviceLocked = "请稍后再试";
constexpr const char* kAdvice = "请换一个文件夹或文件名再试";

const char* Find(const Words* begin, const Words* end, int code) {
  for (const Words* w = begin; w != end; ++w)
    if (w->code == code) return w->why;
  return nullptr;
}

}  // namespace

std::string SystemErrorInWords(std::error_code code) {
  const char* why = nullptr;
#ifdef _WIN32
  if (code.category() == std::system_category()) why = Find(std::begin(kWhyWindows), std::end(kWhyWindows), code.value());
  if (!why) {
    // A code the runtime knows as one of the C library's.
    const std::error_condition condition = code.default_error_condition();
    if (condition.category() == std::generic_category())
      why = Find(std::begin(kWhy), std::end(kWhy), condition.value());
  }
#endif
  if (!why && (code.category() == std::generic_category() || code.category() == std::system_category()))
    why = Find(std::begin(kWhy), std::end(kWhy), code.value());
  return why ? why : FillMark(kOther, "%n", std::to_string(code.value()));
}

std::string WhyInWords(const CFileError& error) {
  switch (error.GetKind()) {
    case CFileError::Kind::ReadOnly: return kReadOnly;
    case CFileError::Kind::Locked: return kLocked;
    case CFileError::Kind::NotRegular: return FillMark(kNotRegular, "%t", error.Thing());
    case CFileError::Kind::Lock:
      if (!error.Thing().empty()) return FillMark(FillMark(kLockNotRegular, "%l", error.LockPath()), "%t", error.Thing());
      return FillMark(FillMark(kLockUnusable, "%l", error.LockPath()), "%s", SystemErrorInWords(error.Code()));
    case CFileError::Kind::Read:
      if (error.Code() == std::errc::no_such_file_or_directory) return kNoFile;
      break;
    case CFileError::Kind::Write:
    case CFileError::Kind::Replace: break;
  }
  return SystemErrorInWords(error.Code());
}

std::string FileMessage(const std::string& what, const CFileError& error) {
  return what + " " + error.Path() + "：" + WhyInWords(error) + "。" +
         (error.GetKind() == CFileError::Kind::Locked ? kAdviceLocked : kAdvice) + "。";
}

std::string DescribeFileError(const CFileError& error) {
  const char* what = error.GetKind() == CFileError::Kind::Read ? "无法读取文件" : "无法写入文件";
  return std::string(what) + " " + error.Path() + "：" + WhyInWords(error);
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
