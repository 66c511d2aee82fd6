#pragma once
// A private folder for the fragment files of one report. The program's own
// folder is read-only once installed, and two reports written at the same time
// would overwrite each other's files there; so each report writes its
// fragments into a fresh folder of its own under the system's temporary
// folder, readable by its user only. A report goes as before: for each
// fragment Write, then insert the file at FilePath; after saving, Delete each
// in the same order. The folder goes, with anything still in it, when the
// object does.

#include <filesystem>
#include <string>

#include "report/fragments/Fragments.h"

namespace tiecalc {

class FragmentFolder {
 public:
  // Creates the folder; throws std::runtime_error when it cannot.
  FragmentFolder();
  ~FragmentFolder();
  FragmentFolder(const FragmentFolder&) = delete;
  FragmentFolder& operator=(const FragmentFolder&) = delete;

  // The folder, ending in the path separator.
  std::string Path() const;

  // Path() followed by the fragment's file name.
  std::string FilePath(FragmentId id) const;

  // Writes the stored fragment to FilePath(id): the result of WriteResourceToFile.
  int Write(FragmentId id) const;

  // Removes the fragment's file; throws std::runtime_error when it cannot
  // (a file that is not there included), as a failed deletion ends a report.
  void Delete(FragmentId id) const;

 private:
  std::filesystem::path m_path;
};

}  // namespace tiecalc
