// libFuzzer target of the compound-file reader: any bytes must give the
// stream, no stream, or a CCompoundFileError, never a crash, a hang, a read
// out of bounds or an allocation beyond the input's size. A stream that is
// read is written again and must read back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sheetdb/CompoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tiecalc::sheetdb;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    const CCompoundFileReader reader(bytes);
    for (const char* name : {"Workbook", "Book"}) {
      const std::optional<std::string> stream = reader.ReadStream(name);
      if (!stream) continue;
      if (stream->size() > size) std::abort();
      if (CCompoundFileReader(WriteCompoundFile(name, *stream)).ReadStream(name) != stream) std::abort();
    }
  } catch (const CCompoundFileError&) {
  }
  return 0;
}
