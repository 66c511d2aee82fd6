#pragma once
// Files built into the program as data. The table is generated at build time
// (tiecalc-fragc embed) from the compiled report fragments.

#include <cstddef>
#include <span>

namespace tiecalc {

struct EmbeddedFile {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

// The compiled fragments by file name ("31.doc", "sf1.doc", ...).
std::span<const EmbeddedFile> EmbeddedFragmentFiles();

}  // namespace tiecalc
