#pragma once
// What this program holds in memory, for the measures and tests of memory
// use: every operator new (at the size malloc gives it) and every anonymous
// mapping made through mmap and mremap (the large blocks of PageBlock), with
// the most held since a mark. Requests from a size on can be refused, as on a
// machine without that memory.
//
// An executable that links counting_memory.cpp has the global operator new
// and delete replaced, and the C library's mmap, mremap and munmap stood in
// front of (the C library's own mappings, malloc's among them, do not pass
// through here; operator new counts what malloc hands out).
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace quenlet::testing::memory {

inline std::atomic<size_t> live{0};
inline std::atomic<size_t> peak{0};
// Nothrow requests, mappings and mapping growths of this many bytes or more
// fail.
inline std::atomic<size_t> refuse_from{SIZE_MAX};

// The most held above what was held when the scope began.
class PeakAbove {
 public:
  PeakAbove() : base_(live.load()) { peak = base_; }
  size_t bytes() const { return peak.load() - base_; }

 private:
  size_t base_;
};

// Refuses requests from `bytes` on while it lives.
class Refusal {
 public:
  explicit Refusal(size_t bytes) { refuse_from = bytes; }
  ~Refusal() { refuse_from = SIZE_MAX; }
  Refusal(const Refusal&) = delete;
  Refusal& operator=(const Refusal&) = delete;
};

}  // namespace quenlet::testing::memory
