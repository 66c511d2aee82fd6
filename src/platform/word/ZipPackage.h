#pragma once
// An Office Open XML package held in memory: every part by its name inside
// the zip ("word/document.xml", "[Content_Types].xml"), bytes as stored.

#include <map>
#include <string>

namespace tiecalc {

using PackageParts = std::map<std::string, std::string>;
// Parts by name whose bytes are held elsewhere.
using PackagePartViews = std::map<std::string, const std::string*>;

// Reads every part of the zip at path. Throws WordError when the file cannot
// be opened or is not a zip.
PackageParts ReadPackage(const std::string& path);

// Writes the parts as a zip to path, atomically: the archive is completed in
// a temporary file in the same folder, which then replaces path. On failure
// the temporary file is removed, an existing file at path stays as it was,
// and WordError is thrown. "[Content_Types].xml" is stored first; time stamps
// are fixed, so equal parts give equal files.
void WritePackage(const std::string& path, const PackageParts& parts);
// The same for parts held elsewhere, which are not copied.
void WritePackage(const std::string& path, const PackagePartViews& parts);

}  // namespace tiecalc
