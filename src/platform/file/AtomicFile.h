#pragma once
// The one way the program replaces a file it writes (workbooks, text
// tables, documents): the new content is completed in a temporary file in
// the target's folder, which then takes the target's place by one rename.
// At no moment is the target missing or partly written, and the new content
// is on the disk (file flushed, then renamed, then its folder flushed) before
// the call returns: a power cut leaves the old file or the new one.
//
// Only a regular file (or a free name) is ever a target: a folder, a named
// pipe, a device or a socket there, also behind a link, is refused before
// anything opens it, and stays as it is.
//
// Every file the program makes beside a target carries one short pattern,
// whatever the target's name: ".tiecalc-HHHHHHHH-RRRRRR.tmp" (a temporary
// file: HHHHHHHH names the target, RRRRRR is random) and
// ".tiecalc-HHHHHHHH.lock" (the advisory lock of that target). A temporary
// file a killed program left behind is removed by RemoveStaleTemporaries.

#include <chrono>
#include <functional>
#include <string>

#include "platform/file/FileError.h"

namespace tiecalc::file {

// Temporary files older than this are stale: no export or report runs that
// long.
inline constexpr std::chrono::minutes kStaleAge{5};

// The steps of one replacement, in their order.
enum class ReplaceStep {
  Write,       // the new content into the temporary file
  SyncFile,    // the temporary file flushed to the disk
  Rename,      // the temporary file takes the target's name
  SyncFolder,  // the folder's new entry flushed to the disk
};

// Called with each step and its file (the folder for SyncFolder) before the
// step is taken; an error it returns fails the step as the system's own
// would. For tests; an empty hook (the default) does nothing.
using ReplaceStepHook = std::function<std::error_code(ReplaceStep, const std::string& path)>;
void SetReplaceStepHook(ReplaceStepHook hook);

// Throws CFileError when path (a link followed) cannot take a new file: it
// is no regular file (Kind::NotRegular, Thing() says what it is), a loop of
// links (Kind::Write), or marked read-only (Kind::ReadOnly). Opens nothing.
void CheckTarget(const std::string& path);

// The file a link at path names (path itself when it is no link).
std::string FollowLink(const std::string& path);

// A free temporary name beside the file at path (a link followed), short
// whatever the length of path's own name.
std::string TemporaryPathBeside(const std::string& path);

// Replaces the file at path (UTF-8) with bytes. With followLink, a link at
// path is followed: the file it names is replaced and the link stays;
// without, a link at path is itself replaced by the new file, so nothing is
// written through a link. A target marked read-only or no regular file keeps
// its content. The new file keeps the old one's permissions. Stale temporary
// files of the target are removed first (RemoveStaleTemporaries). Throws
// CFileError; the old file is then untouched and no temporary file is left.
void WriteFileAtomically(const std::string& path, const std::string& bytes, bool followLink = true);

// Puts the complete file at temporary (made by TemporaryPathBeside(path))
// in the place of path, a link at path followed, by one rename, flushed as
// WriteFileAtomically's; the same checks. Throws CFileError; temporary is
// then removed.
void ReplaceWithFile(const std::string& temporary, const std::string& path);

// Removes the temporary files of path's target, in its folder, older than
// kStaleAge. Only names of this program's pattern for this target, only
// regular files; failures are ignored (nothing depends on them).
void RemoveStaleTemporaries(const std::string& path);

// An advisory lock on the file at path (a link followed), held while the
// object lives, so that two programs do not read, change and replace one
// file at the same time. The lock is the system's advisory lock on the file
// ".tiecalc-HHHHHHHH.lock": a lock file left behind by a killed program or
// another user locks nothing. The target is checked as by CheckTarget's
// kind check first (nothing blocks on a pipe). Waits up to wait for another
// holder, then throws CFileError (Kind::Locked); throws Kind::Lock when the
// lock's name holds no regular file or a file that cannot be used, and
// Kind::Write when no lock can be made in the folder at all.
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
