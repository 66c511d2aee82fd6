#include "platform/memory/ScratchBuffer.h"

#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace tiecalc {

namespace {

#ifdef __linux__
constexpr std::size_t kHugePage = std::size_t{2} << 20;
#endif

}  // namespace

ScratchBuffer::ScratchBuffer(std::size_t size) : m_size(size) {
#ifdef __linux__
  // Whole huge pages, aligned to one, and the kernel asked to back them so;
  // a buffer smaller than one huge page is not worth it.
  if (size >= kHugePage) {
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    m_data = static_cast<unsigned char*>(std::aligned_alloc(kHugePage, rounded));
    if (!m_data) throw std::bad_alloc();
    madvise(m_data, rounded, MADV_HUGEPAGE);  // a hint: without it the pages are ordinary
    return;
  }
#endif
  m_data = static_cast<unsigned char*>(std::malloc(size ? size : 1));
  if (!m_data) throw std::bad_alloc();
}

ScratchBuffer::~ScratchBuffer() { std::free(m_data); }

}  // namespace tiecalc
