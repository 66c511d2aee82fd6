#pragma once
// The one way the program replaces a file it writes (workbooks, text
// tables, documents): the new content is completed in a temporary file in
// the target's folder, which then takes the target's place by one rename.
// At no moment is the target missing or partly written.
//
// Every file the program makes beside a target carries one short pattern,
// whatever the target's name: ".tiecalc-HHHHHHHH-RRRRRR.tmp" (a temporary
// file: HHHHHHHH names the target, RRRRRR is random) and
// ".tiecalc-HHHHHHHH.lock" (the advisory lock of that target). A temporary
// file a killed program left behind is removed by RemoveStaleTemporaries.

#include <chrono>
#include <string>

#include "platform/file/FileError.h"

namespace tiecalc::file {

// Temporary files older than this are stale: no export or report runs that
// long.
inline constexpr std::chrono::minutes kStaleAge{5};

// The file a link at path names (path itself when it is no link).
std::string FollowLink(const std::string& path);

// A free temporary name beside the file at path (a link followed), short
// whatever the length of path's own name.
std::string TemporaryPathBeside(const std::string& path);

// Replaces the file at path (UTF-8) with bytes. With followLink, a link at
// path is followed: the file it names is replaced and the link stays;
// without, a link at path is itself replaced by the new file, so nothing is
// written through a link. A target marked read-only keeps its content. The
// new file keeps the old one's permissions. Throws CFileError; the old file
// is then untouched and no temporary file is left.
void WriteFileAtomically(const std::string& path, const std::string& bytes, bool followLink = true);

// Puts the complete file at temporary (made by TemporaryPathBeside(path))
// in the place of path, a link at path followed, by one rename; the same
// checks as WriteFileAtomically. Throws CFileError; temporary is then
// removed.
void ReplaceWithFile(const std::string& temporary, const std::string& path);

// Removes the temporary files of path's target, in its folder, older than
// kStaleAge. Only names of this program's pattern for this target, only
// regular files; failures are ignored (nothing depends on them).
void RemoveStaleTemporaries(const std::string& path);

// An advisory lock on the file at path (a link followed), held while the
// object lives, so that two programs do not read, change and replace one
// file at the same time. Waits up to wait for another holder, then throws
// CFileError (Kind::Locked); throws CFileError (Kind::Write) when the lock
// cannot be made in the folder at all.
class CFileLock {
 public:
  explicit CFileLock(const std::string& path, std::chrono::milliseconds wait = std::chrono::seconds(5));
  ~CFileLock();
  CFileLock(const CFileLock&) = delete;
  CFileLock& operator=(const CFileLock&) = delete;

 private:
  std::string m_lockPath;
#ifdef _WIN32
  void* m_handle = nullptr;
#else
  int m_fd = -1;
#endif
};

}  // namespace tiecalc::file
