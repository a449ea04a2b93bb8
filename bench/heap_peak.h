#pragma once
// The heap of this benchmark program, counted by its own operator new and
// delete (heap_peak.cpp): every allocation of the C++ code, the program's
// libraries included, goes through them.
#include <cstddef>

namespace quenlet::bench {

// Bytes held through operator new now.
size_t LiveHeapBytes();

// The most bytes held above what was held when the scope began: the peak
// of the heap while a piece of work runs.
class PeakAbove {
 public:
  PeakAbove();
  size_t bytes() const;

 private:
  size_t base_;
};

}  // namespace quenlet::bench
