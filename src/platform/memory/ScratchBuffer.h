#pragma once
// A large buffer for one piece of work, such as a bitmap drawn and encoded at
// once. Its bytes start undefined: the user writes every one before reading
// it. Where the system allows, it is backed by huge pages, so that first
// touching a few megabytes costs a few page faults instead of one per 4 KiB
// page, which on a virtual machine takes longer than the drawing.

#include <cstddef>

namespace tiecalc {

class ScratchBuffer {
 public:
  // Throws std::bad_alloc when the memory cannot be had.
  explicit ScratchBuffer(std::size_t size);
  ~ScratchBuffer();
  ScratchBuffer(const ScratchBuffer&) = delete;
  ScratchBuffer& operator=(const ScratchBuffer&) = delete;

  unsigned char* Data() const { return m_data; }
  std::size_t Size() const { return m_size; }

 private:
  unsigned char* m_data = nullptr;
  std::size_t m_size = 0;
};

}  // namespace tiecalc
