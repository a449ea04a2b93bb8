#include "platform/page_block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace quenlet {
namespace {

// Zero ranges of at least this many bytes hand their whole pages back; below
// it writing the zeros is cheaper than the call.
constexpr size_t kHandBackFrom = 64 * 1024;

size_t PageSize() {
  static const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}

}  // namespace

PageBlock::PageBlock(PageBlock&& other) noexcept
    : bytes_(other.bytes_), size_(other.size_), mapped_length_(other.mapped_length_) {
  other.bytes_ = nullptr;
  other.size_ = 0;
  other.mapped_length_ = 0;
}

PageBlock& PageBlock::operator=(PageBlock&& other) noexcept {
  if (this != &other) {
    Free();
    bytes_ = other.bytes_;
    size_ = other.size_;
    mapped_length_ = other.mapped_length_;
    other.bytes_ = nullptr;
    other.size_ = 0;
    other.mapped_length_ = 0;
  }
  return *this;
}

void PageBlock::Free() {
  if (mapped()) {
    ::munmap(bytes_, mapped_length_);
  } else {
    delete[] bytes_;
  }
  bytes_ = nullptr;
  size_ = 0;
  mapped_length_ = 0;
}

bool PageBlock::Resize(size_t n, NewBytes new_bytes) {
  if (n == size_) return true;
  if (n == 0) {
    Free();
    return true;
  }
  // A mapped block stays mapped: shrinking it again and again costs nothing.
  if (mapped() || n >= kMappedFrom) return ResizeMapping(n);
  uint8_t* fresh =
      new_bytes == NewBytes::Zero ? new (std::nothrow) uint8_t[n]() : new (std::nothrow) uint8_t[n];
  if (!fresh) return false;
  if (size_ > 0) std::memcpy(fresh, bytes_, std::min(size_, n));
  delete[] bytes_;
  bytes_ = fresh;
  size_ = n;
  return true;
}

bool PageBlock::ResizeMapping(size_t n) {
  const size_t page = PageSize();
  if (n > SIZE_MAX - page) return false;
  const size_t length = (n + page - 1) / page * page;
  if (!mapped()) {
    // From the heap (or nothing) to a mapping of its own: its pages are zero.
    void* p = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return false;
    if (size_ > 0) std::memcpy(p, bytes_, std::min(size_, n));
    delete[] bytes_;
    bytes_ = static_cast<uint8_t*>(p);
    mapped_length_ = length;
    size_ = n;
    return true;
  }
  if (length != mapped_length_) {
    // The pages move with their contents, or stay where they are; new pages
    // are zero, pages past the new end go back to the system.
    void* p = ::mremap(bytes_, mapped_length_, length, MREMAP_MAYMOVE);
    if (p == MAP_FAILED) return false;
    bytes_ = static_cast<uint8_t*>(p);
    mapped_length_ = length;
  }
  // What stays mapped past a smaller size is zeroed, so that growing again
  // shows zeros.
  if (n < size_) std::memset(bytes_ + n, 0, std::min(size_, length) - n);
  size_ = n;
  return true;
}

void PageBlock::Zero(size_t from, size_t to) {
  to = std::min(to, size_);
  if (from >= to) return;
  if (mapped() && to - from >= kHandBackFrom) {
    const size_t page = PageSize();
    const size_t first = (from + page - 1) / page * page;
    const size_t last = to / page * page;
    // Private anonymous pages handed back read as zero from then on.
    if (last > first && ::madvise(bytes_ + first, last - first, MADV_DONTNEED) == 0) {
      std::memset(bytes_ + from, 0, first - from);
      std::memset(bytes_ + last, 0, to - last);
      return;
    }
  }
  std::memset(bytes_ + from, 0, to - from);
}

}  // namespace quenlet
