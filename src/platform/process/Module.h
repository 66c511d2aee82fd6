#pragma once
// Loading a module of ours (a shared object) when it is first needed.

#include <filesystem>
#include <vector>

namespace tiecalc::process {

// Loads the first of files that exists (kept loaded for the program's run)
// and returns the address of its symbol. Throws std::runtime_error naming
// the file and the loader's reason when none loads or the symbol is missing.
void* LoadModuleSymbol(const std::vector<std::filesystem::path>& files, const char* symbol);

// The address of symbol in the system library soname ("libfoo.so.1"),
// loading it for the program's run; null when either is missing.
void* SystemLibrarySymbol(const char* soname, const char* symbol);

}  // namespace tiecalc::process
