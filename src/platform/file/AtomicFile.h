#pragma once
// The one way the program replaces a file it writes (workbooks, text
// tables, documents): the new content is completed in a temporary file in
// the target's folder, which then takes the target's place by one rename.
// At no moment is the target missing or partly written.

#include <string>

#include "platform/file/FileError.h"

namespace tiecalc::file {

// Replaces the file at path (UTF-8) with bytes. A link at path is followed:
// the file it names is replaced and the link stays. A target marked
// read-only keeps its content. The new file keeps the old one's permissions.
// Throws CFileError; the old file is then untouched and no temporary file
// is left.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace tiecalc::file
