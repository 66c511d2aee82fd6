#pragma once
// The program's folder and its stored resources written out as files.

#include <span>
#include <string>

namespace tiecalc {

// The folder of the running program, ending in the path separator. The path
// of the executable has every "<name>.exe" removed, where <name> is its file
// name without extension (the folder of "C:\tiecalc\tiecalc.exe" is
// "C:\tiecalc\"). Where that leaves no folder - an executable without the
// ".exe" extension, as on Linux ("/opt/tiecalc/bin/tiecalc" gives
// "/opt/tiecalc/bin/"), or one written ".EXE" - the folder is what precedes
// the file name. Empty when the executable's path cannot be found.
std::string ProgramDirectory();

// The same rule applied to a given executable path.
std::string ProgramDirectoryOf(const std::string& executablePath);

// The bytes of the stored resource of that id and type (types compare
// regardless of case: "doc" finds the fragments of type "DOC"); empty when
// there is none.
std::span<const unsigned char> FindResourceData(int id, const std::string& type);

// Writes the raw bytes of the resource to the file at path, replacing any file
// there. 1 = written; 0 = no such resource, or the file could not be created
// or written (a file begun but not completed is removed).
int WriteResourceToFile(int id, const std::string& type, const std::string& path);

}  // namespace tiecalc
