#pragma once
// Bytes held through operator new in a program, and the most held since a
// scope began: the memory counters of the benchmarks and of tests that bound
// what a reader holds. A program that links heap_count.cpp has its global
// operator new and delete replaced to count them.
#include <cstddef>

namespace quenlet::testing {

// The most bytes held above what was held when the scope began.
class PeakAbove {
 public:
  PeakAbove();
  size_t bytes() const;

 private:
  size_t base_;
};

}  // namespace quenlet::testing
