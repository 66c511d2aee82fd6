#include "platform/sheetdb/CompoundFile.h"

#include <algorithm>
#include <cstring>

namespace tiecalc::sheetdb {

namespace {

// Sector numbers above the last regular one mark the ends of chains and the
// sectors the FAT itself and its list (DIFAT) occupy.
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kFatSector = 0xFFFFFFFD;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoEntry = 0xFFFFFFFF;

constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderFatEntries = 109;  // FAT sector numbers held by the header itself
constexpr size_t kEntrySize = 128;
constexpr size_t kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;  // smaller streams live in the mini stream

constexpr uint8_t kTypeStream = 2;
constexpr uint8_t kTypeRoot = 5;

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

uint16_t U16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
uint32_t U32(std::string_view b, size_t at) { return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16; }
uint64_t U64(std::string_view b, size_t at) { return U32(b, at) | static_cast<uint64_t>(U32(b, at + 4)) << 32; }

void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

[[noreturn]] void Fail(const std::string& why) { throw CCompoundFileError(why); }

char16_t UpperLatin(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(const std::u16string& stored, std::string_view wanted) {
  if (stored.size() != wanted.size()) return false;
  for (size_t i = 0; i < stored.size(); ++i)
    if (UpperLatin(stored[i]) != UpperLatin(static_cast<unsigned char>(wanted[i]))) return false;
  return true;
}

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

}  // namespace

CCompoundFileReader::CCompoundFileReader(std::string_view bytes) : m_bytes(bytes) {
  if (bytes.size() < kHeaderSize) Fail("文件太短，不是复合文档");
  if (std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0) Fail("不是复合文档");
  if (U16(bytes, 28) != 0xFFFE) Fail("复合文档头的字节序标记不对");
  const uint16_t major = U16(bytes, 26);
  const uint16_t shift = U16(bytes, 30);
  if (!((major == 3 && shift == 9) || (major == 4 && shift == 12)))
    Fail("复合文档的版本或扇区大小不受支持");
  if (U16(bytes, 32) != 6) Fail("复合文档的小扇区不是 64 字节");
  if (U32(bytes, 56) != kMiniStreamCutoff) Fail("复合文档的小流界限不是 4096 字节");
  m_sectorSize = 1u << shift;

  // The sectors after the header; a last sector cut short is allowed, some
  // writers leave out its unused tail.
  const uint64_t body = bytes.size() > m_sectorSize ? bytes.size() - m_sectorSize : 0;
  const uint64_t sectors = CeilDiv(body, m_sectorSize);
  if (sectors > kMaxRegularSector) Fail("文件超出复合文档能有的大小");
  m_sectorCount = static_cast<uint32_t>(sectors);

  // Where the FAT lies: the header's list, then the DIFAT chain.
  const uint32_t fatSectors = U32(bytes, 44);
  if (fatSectors == 0 || fatSectors > m_sectorCount) Fail("扇区分配表的扇区数与文件不符");
  std::vector<uint32_t> fatList;
  fatList.reserve(fatSectors);
  auto addFatSector = [&](uint32_t sector) {
    if (sector >= m_sectorCount) Fail("扇区分配表的扇区在文件之外");
    fatList.push_back(sector);
  };
  for (size_t i = 0; i < kHeaderFatEntries && fatList.size() < fatSectors; ++i) addFatSector(U32(bytes, 76 + 4 * i));
  const size_t perDifat = m_sectorSize / 4 - 1;
  std::vector<bool> seenDifat(m_sectorCount);
  for (uint32_t difat = U32(bytes, 68); fatList.size() < fatSectors;) {
    if (difat >= m_sectorCount) Fail("扇区分配表的扇区列表已损坏");
    if (seenDifat[difat]) Fail("扇区分配表的扇区列表首尾相接，无法读完");
    seenDifat[difat] = true;
    const std::string_view sector = Sector(difat);
    for (size_t i = 0; i < perDifat && fatList.size() < fatSectors; ++i) addFatSector(U32(sector, 4 * i));
    difat = U32(sector, 4 * perDifat);
  }
  m_fat.reserve(static_cast<size_t>(fatSectors) * (m_sectorSize / 4));
  for (uint32_t sector : fatList) {
    const std::string_view data = Sector(sector);
    for (size_t i = 0; i < m_sectorSize / 4; ++i) m_fat.push_back(U32(data, 4 * i));
  }

  // The directory.
  for (uint32_t sector : Chain(m_fat, U32(bytes, 48), m_sectorCount, "目录")) {
    const std::string_view data = Sector(sector);
    for (size_t at = 0; at + kEntrySize <= m_sectorSize; at += kEntrySize) {
      Entry entry;
      // The name's length in bytes counts its terminating zero.
      const size_t nameBytes = std::min<size_t>(U16(data, at + 64), 64);
      for (size_t i = 0; i + 1 < nameBytes / 2; ++i) entry.name += static_cast<char16_t>(U16(data, at + 2 * i));
      entry.type = static_cast<uint8_t>(data[at + 66]);
      entry.left = U32(data, at + 68);
      entry.right = U32(data, at + 72);
      entry.child = U32(data, at + 76);
      entry.start = U32(data, at + 116);
      entry.size = U64(data, at + 120);
      if (major == 3) entry.size &= 0xFFFFFFFFu;  // version 3 writers may leave the high half undefined
      m_entries.push_back(std::move(entry));
    }
  }
  if (m_entries.empty() || m_entries[0].type != kTypeRoot) Fail("目录中没有根条目");

  // The mini stream (the root entry's stream) and the mini FAT.
  m_miniStream = ReadChain(m_entries[0].start, m_entries[0].size, false);
  const uint32_t miniFatSectors = U32(bytes, 64);
  if (miniFatSectors > m_sectorCount) Fail("小扇区分配表的扇区数与文件不符");
  if (miniFatSectors > 0) {
    const std::vector<uint32_t> chain = Chain(m_fat, U32(bytes, 60), m_sectorCount, "小扇区分配表");
    for (uint32_t sector : chain) {
      const std::string_view data = Sector(sector);
      for (size_t i = 0; i < m_sectorSize / 4; ++i) m_miniFat.push_back(U32(data, 4 * i));
    }
  }
}

// A whole sector: only data streams may end in a sector cut short, and
// ReadChain reads those itself.
std::string_view CCompoundFileReader::Sector(uint32_t index) const {
  const uint64_t at = (static_cast<uint64_t>(index) + 1) * m_sectorSize;
  if (index >= m_sectorCount || at + m_sectorSize > m_bytes.size()) Fail("文件不完整");
  return m_bytes.substr(static_cast<size_t>(at), m_sectorSize);
}

// The sectors of a chain in order. limit bounds the sector numbers; a chain
// visits each sector at most once.
std::vector<uint32_t> CCompoundFileReader::Chain(const std::vector<uint32_t>& table, uint32_t start,
                                                 uint64_t limit, const char* what) const {
  std::vector<uint32_t> chain;
  std::vector<bool> seen(std::min<uint64_t>(table.size(), limit));
  for (uint32_t sector = start; sector != kEndOfChain; sector = table[sector]) {
    if (sector >= seen.size()) Fail(std::string(what) + "的扇区链已损坏");
    if (seen[sector]) Fail(std::string(what) + "的扇区链首尾相接，无法读完");
    seen[sector] = true;
    chain.push_back(sector);
  }
  return chain;
}

std::string CCompoundFileReader::ReadChain(uint32_t start, uint64_t size, bool mini) const {
  const std::string_view source = mini ? std::string_view(m_miniStream) : m_bytes;
  const size_t unit = mini ? kMiniSectorSize : m_sectorSize;
  const uint64_t units = mini ? CeilDiv(m_miniStream.size(), kMiniSectorSize) : m_sectorCount;
  if (size > units * unit) Fail("数据流的长度超过文件");
  if (size == 0) return {};
  const std::vector<uint32_t> chain = Chain(mini ? m_miniFat : m_fat, start, units, mini ? "小数据流" : "数据流");
  if (chain.size() * static_cast<uint64_t>(unit) < size) Fail("数据流的长度超过它的扇区");
  std::string out;
  out.reserve(static_cast<size_t>(size));
  for (uint32_t sector : chain) {
    if (out.size() == size) break;
    const uint64_t at = (static_cast<uint64_t>(sector) + (mini ? 0 : 1)) * unit;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(unit, size - out.size()));
    if (at + want > source.size()) Fail("文件不完整");
    out.append(source.substr(static_cast<size_t>(at), want));
  }
  return out;
}

// The root storage's children form a binary tree through their left and
// right links; it is walked with a guard against links that loop.
const CCompoundFileReader::Entry* CCompoundFileReader::FindChild(std::string_view name) const {
  std::vector<bool> seen(m_entries.size());
  std::vector<uint32_t> pending{m_entries[0].child};
  while (!pending.empty()) {
    const uint32_t id = pending.back();
    pending.pop_back();
    if (id == kNoEntry) continue;
    if (id >= m_entries.size() || seen[id]) Fail("目录树已损坏");
    seen[id] = true;
    const Entry& entry = m_entries[id];
    if (entry.type == kTypeStream && SameName(entry.name, name)) return &entry;
    pending.push_back(entry.left);
    pending.push_back(entry.right);
  }
  return nullptr;
}

std::optional<std::string> CCompoundFileReader::ReadStream(std::string_view name) const {
  const Entry* entry = FindChild(name);
  if (!entry) return std::nullopt;
  return ReadChain(entry->start, entry->size, entry->size < kMiniStreamCutoff);
}

std::string WriteCompoundFile(std::string_view streamName, std::string_view stream) {
  constexpr uint32_t kSectorSize = 512;
  constexpr uint32_t kPerFat = kSectorSize / 4;
  constexpr uint32_t kPerDifat = kPerFat - 1;
  const uint64_t size = stream.size();
  const bool mini = size < kMiniStreamCutoff;
  const uint32_t miniSectors = mini ? static_cast<uint32_t>(CeilDiv(size, kMiniSectorSize)) : 0;
  const uint64_t miniStreamSize = uint64_t{miniSectors} * kMiniSectorSize;
  const uint64_t dataSectors = CeilDiv(mini ? miniStreamSize : size, kSectorSize);
  const uint32_t miniFatSectors = static_cast<uint32_t>(CeilDiv(uint64_t{miniSectors} * 4, kSectorSize));
  if (dataSectors > kMaxRegularSector / 2) throw CCompoundFileError("数据超出复合文档能容纳的大小");

  // The FAT covers every sector, its own and the DIFAT's included.
  uint64_t fatSectors = 1, difatSectors = 0;
  for (;;) {
    const uint64_t total = fatSectors + difatSectors + 1 + miniFatSectors + dataSectors;
    const uint64_t needFat = CeilDiv(total, kPerFat);
    const uint64_t needDifat = needFat > kHeaderFatEntries ? CeilDiv(needFat - kHeaderFatEntries, kPerDifat) : 0;
    if (needFat <= fatSectors && needDifat <= difatSectors) break;
    fatSectors = std::max(fatSectors, needFat);
    difatSectors = std::max(difatSectors, needDifat);
  }
  const uint32_t firstDifat = static_cast<uint32_t>(fatSectors);
  const uint32_t directory = firstDifat + static_cast<uint32_t>(difatSectors);
  const uint32_t firstMiniFat = directory + 1;
  const uint32_t firstData = firstMiniFat + miniFatSectors;
  const uint64_t totalSectors = firstData + dataSectors;

  std::vector<uint32_t> fat(fatSectors * kPerFat, kFreeSector);
  for (uint32_t i = 0; i < fatSectors; ++i) fat[i] = kFatSector;
  for (uint32_t i = 0; i < difatSectors; ++i) fat[firstDifat + i] = kDifatSector;
  auto chain = [&](uint32_t first, uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) fat[first + i] = i + 1 < count ? static_cast<uint32_t>(first + i + 1) : kEndOfChain;
  };
  chain(directory, 1);
  chain(firstMiniFat, miniFatSectors);
  chain(firstData, dataSectors);

  std::string out(kHeaderSize + totalSectors * kSectorSize, '\0');
  auto sectorAt = [](uint64_t index) { return kHeaderSize + index * kSectorSize; };

  // Header.
  std::memcpy(out.data(), kSignature, sizeof kSignature);
  Put16(out, 24, 0x003E);  // minor version
  Put16(out, 26, 3);       // major version: 512-byte sectors
  Put16(out, 28, 0xFFFE);  // byte order
  Put16(out, 30, 9);       // sector shift
  Put16(out, 32, 6);       // mini sector shift
  Put32(out, 44, static_cast<uint32_t>(fatSectors));
  Put32(out, 48, directory);
  Put32(out, 56, kMiniStreamCutoff);
  Put32(out, 60, miniFatSectors ? firstMiniFat : kEndOfChain);
  Put32(out, 64, miniFatSectors);
  Put32(out, 68, difatSectors ? firstDifat : kEndOfChain);
  Put32(out, 72, static_cast<uint32_t>(difatSectors));
  for (size_t i = 0; i < kHeaderFatEntries; ++i)
    Put32(out, 76 + 4 * i, i < fatSectors ? static_cast<uint32_t>(i) : kFreeSector);

  // DIFAT: the FAT sectors past the header's 109.
  for (uint32_t d = 0; d < difatSectors; ++d) {
    const size_t at = sectorAt(firstDifat + d);
    for (uint32_t i = 0; i < kPerDifat; ++i) {
      const uint64_t fatIndex = kHeaderFatEntries + uint64_t{d} * kPerDifat + i;
      Put32(out, at + 4 * i, fatIndex < fatSectors ? static_cast<uint32_t>(fatIndex) : kFreeSector);
    }
    Put32(out, at + 4 * kPerDifat, d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
  }
  for (size_t i = 0; i < fat.size(); ++i) Put32(out, sectorAt(0) + 4 * i, fat[i]);

  // Directory: the root, the stream, two unused entries.
  const size_t dir = sectorAt(directory);
  auto entry = [&](size_t index, std::string_view name, uint8_t type, uint32_t child, uint32_t start,
                   uint64_t length) {
    const size_t at = dir + index * kEntrySize;
    const size_t chars = std::min<size_t>(name.size(), 31);
    for (size_t i = 0; i < chars; ++i) Put16(out, at + 2 * i, static_cast<unsigned char>(name[i]));
    Put16(out, at + 64, chars ? static_cast<uint16_t>((chars + 1) * 2) : 0);
    out[at + 66] = static_cast<char>(type);
    out[at + 67] = static_cast<char>(type ? 1 : 0);  // black: a tree of one node is a valid red-black tree
    Put32(out, at + 68, kNoEntry);
    Put32(out, at + 72, kNoEntry);
    Put32(out, at + 76, child);
    Put32(out, at + 116, start);
    Put32(out, at + 120, static_cast<uint32_t>(length));
    Put32(out, at + 124, static_cast<uint32_t>(length >> 32));
  };
  const uint32_t dataStart = dataSectors ? firstData : kEndOfChain;
  entry(0, "Root Entry", kTypeRoot, 1, mini ? dataStart : kEndOfChain, miniStreamSize);
  entry(1, streamName, kTypeStream, kNoEntry, mini ? (miniSectors ? 0 : kEndOfChain) : dataStart, size);
  entry(2, "", 0, kNoEntry, 0, 0);
  entry(3, "", 0, kNoEntry, 0, 0);

  // Mini FAT: the stream's mini sectors in a row.
  for (uint32_t i = 0; i < miniFatSectors * kPerFat; ++i)
    Put32(out, sectorAt(firstMiniFat) + 4 * i, i < miniSectors ? (i + 1 < miniSectors ? i + 1 : kEndOfChain) : kFreeSector);

  std::memcpy(out.data() + sectorAt(firstData), stream.data(), stream.size());
  return out;
}

}  // namespace tiecalc::sheetdb
