#pragma once
// The OLE2 compound file (structured storage) that holds an .xls workbook's
// BIFF8 stream: a small file system in one file, made of fixed-size sectors.
//
//   header (512 bytes): sector sizes, where the FAT, the directory and the
//                       mini FAT start, the first 109 FAT sector numbers
//   FAT:      one 32-bit entry per sector, the next sector of its chain
//   DIFAT:    a chain of sectors listing the FAT sectors past the first 109
//   directory: 128-byte entries (name, type, a red-black tree of siblings,
//              the first sector and the size of a stream)
//   mini stream: streams under 4096 bytes live in 64-byte mini sectors
//              inside the root entry's stream, chained by the mini FAT
//
// Reading accepts what spreadsheet programs write (512- or 4096-byte
// sectors, any other streams and storages beside the workbook, which are
// ignored). The file may be anything: every sector number, chain, size and
// tree link is checked before it is used, a chain may not loop, and nothing
// is allocated beyond the size of the file itself. Writing makes a file of
// 512-byte sectors holding one stream.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tiecalc::sheetdb {

// A file that is not a well-formed compound file; what() says what is wrong.
class CCompoundFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CCompoundFileReader {
 public:
  // Checks the header and reads the FAT and the directory of bytes, which
  // must outlive the reader. Throws CCompoundFileError.
  explicit CCompoundFileReader(std::string_view bytes);

  // The stream of that name (ASCII) directly in the root storage, names
  // compared as the format does, ignoring the case of Latin letters; nullopt when there
  // is none. Throws CCompoundFileError when its sectors are broken.
  std::optional<std::string> ReadStream(std::string_view name) const;
  bool HasStream(std::string_view name) const { return FindChild(name) != nullptr; }

 private:
  struct Entry {
    std::u16string name;
    uint8_t type = 0;
    uint32_t left = 0, right = 0, child = 0;
    uint32_t start = 0;
    uint64_t size = 0;
  };

  std::string_view Sector(uint32_t index) const;
  std::vector<uint32_t> Chain(const std::vector<uint32_t>& table, uint32_t start, uint64_t limit,
                              const char* what) const;
  std::string ReadChain(uint32_t start, uint64_t size, bool mini) const;
  const Entry* FindChild(std::string_view name) const;

  std::string_view m_bytes;
  uint32_t m_sectorSize = 512;
  uint32_t m_sectorCount = 0;
  std::vector<uint32_t> m_fat;
  std::vector<uint32_t> m_miniFat;
  std::vector<Entry> m_entries;
  std::string m_miniStream;
};

// A compound file of 512-byte sectors whose root storage holds one stream.
std::string WriteCompoundFile(std::string_view streamName, std::string_view stream);

}  // namespace tiecalc::sheetdb
