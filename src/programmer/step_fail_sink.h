#pragma once
// The common failure indication of the device operations (hide Pass and
// Wait, play the fail sound when sounds are on). The operation frame
// implements it; the programmer link only calls it.
namespace quenlet {

class StepFailSink {
 public:
  virtual ~StepFailSink() = default;
  virtual void StepFail() = 0;
};

}  // namespace quenlet
