#pragma once
// An Office Open XML package held in memory: every part by its name inside
// the zip ("word/document.xml", "[Content_Types].xml"), bytes as stored.

#include <map>
#include <string>
#include <string_view>

namespace tiecalc {

using PackageParts = std::map<std::string, std::string>;
// Parts by name whose bytes are held elsewhere.
using PackagePartViews = std::map<std::string, const std::string*>;

// Every part of the zip held in bytes; name says which package in an error.
// Throws WordError when the bytes are no zip or a part cannot be read.
PackageParts ReadPackage(std::string_view bytes, const std::string& name);

// The parts as the bytes of a zip, built in memory. "[Content_Types].xml" is
// stored first; pictures are stored as they are, the rest deflated; time
// stamps are fixed, so equal parts give equal bytes. Throws WordError.
std::string ZipPackage(const PackagePartViews& parts);

// Writes the parts as a zip to path, atomically (platform/file): on failure
// an existing file at path stays as it was, and WordError is thrown.
void WritePackage(const std::string& path, const PackageParts& parts);
void WritePackage(const std::string& path, const PackagePartViews& parts);

}  // namespace tiecalc
