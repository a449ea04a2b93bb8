#pragma once
// How the buffer's long loops drive the progress window: one StepIt whenever
// the loop index is a multiple of the step (a hundredth of the work, at least
// 1). The work is cut into runs between those points, so the byte loops
// themselves carry no progress calls.
#include <algorithm>
#include <cstdint>

#include "platform/user_interfaces.h"

namespace quenlet {

class ProgressSteps {
 public:
  ProgressSteps(Progress& progress, uint64_t work_length)
      : progress_(progress), step_(std::max<uint64_t>(1, work_length / 100)) {}

  uint64_t step() const { return step_; }

  // Calls run(first, last) for consecutive runs covering [begin, end), each
  // run starting either at begin or at a multiple of the step.
  template <class Run>
  void Walk(uint64_t begin, uint64_t end, Run&& run) {
    uint64_t i = begin;
    while (i < end) {
      if (i % step_ == 0) progress_.StepIt();
      const uint64_t next = std::min(end, (i / step_ + 1) * step_);
      run(i, next);
      i = next;
    }
  }

 private:
  Progress& progress_;
  uint64_t step_;
};

}  // namespace quenlet
