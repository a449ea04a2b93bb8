#pragma once
// A block of bytes that takes large sizes straight from the system's zero
// pages (an anonymous private mapping): bytes never written cost neither
// memory nor time, a zero range is handed back to the system rather than
// written, and the block grows and shrinks in place (mremap) without copying
// what it holds. Small sizes come from the heap, where zeroing is cheap.
//
// Small pages only: advice to use huge ones makes the kernel compact memory
// at the first write, which slowed large loads several-fold on a busy
// machine; and a page never written stays a page not held.
//
// Invariant: every byte of the block is either written by its owner or zero,
// and so is every byte between the size and the end of a mapping, so growing
// never shows old bytes.
#include <cstddef>
#include <cstdint>

namespace quenlet {

class PageBlock {
 public:
  // Blocks of this size and more are mapped; smaller ones come from the heap.
  static constexpr size_t kMappedFrom = 256 * 1024;

  // What the bytes that a resize adds hold.
  enum class NewBytes {
    Zero,       // zero
    Unwritten,  // whatever is cheapest: the caller writes them next
  };

  PageBlock() = default;
  ~PageBlock() { Free(); }
  PageBlock(PageBlock&& other) noexcept;
  PageBlock& operator=(PageBlock&& other) noexcept;
  PageBlock(const PageBlock&) = delete;
  PageBlock& operator=(const PageBlock&) = delete;

  // n bytes: the first min(size, n) keep what they held, the rest are new.
  // False, with the block as it was, when the memory cannot be had. Growing a
  // mapped block moves no byte; a 0 size gives the memory back.
  bool Resize(size_t n, NewBytes new_bytes = NewBytes::Zero);

  // Bytes from .. to - 1 := 0 (clipped to the block). The whole pages of a
  // large range of a mapped block are handed back to the system instead:
  // they read as zero and are not resident until written again.
  void Zero(size_t from, size_t to);

  // The bytes, as the owner of a plain array would reach them; null while the
  // block is empty.
  uint8_t* get() const { return bytes_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Whether the block is a mapping of its own (large blocks).
  bool mapped() const { return mapped_length_ > 0; }

 private:
  void Free();
  bool ResizeMapping(size_t n);

  uint8_t* bytes_ = nullptr;
  size_t size_ = 0;
  size_t mapped_length_ = 0;  // whole pages of the mapping; 0 for heap blocks
};

}  // namespace quenlet
