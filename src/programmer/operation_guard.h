#pragma once
// Re-entry protection of the device operations. The operations run on the
// GUI thread and let the message queue run in the middle, so a click can
// start a second operation while the first is still on the wire.
//  - OperationLock / OperationGuard: while one operation runs, any other one
//    that is started does nothing and reports failure.
//  - StepBusyFlags: one flag per step, set by a step handler while it lets the
//    queue run before it starts its own operation; an operation whose flag is
//    set is refused the same way.
#include <array>
#include <cstdint>

namespace quenlet {

enum class BusyStep : int { Erase = 0, Blank, Program, Verify, Read, Confirm, Protect, Count };

class StepBusyFlags {
 public:
  void Set(BusyStep step) { flags_[static_cast<int>(step)] = 1; }
  void Clear(BusyStep step) { flags_[static_cast<int>(step)] = 0; }
  bool IsSet(BusyStep step) const { return flags_[static_cast<int>(step)] != 0; }

 private:
  std::array<uint32_t, static_cast<int>(BusyStep::Count)> flags_{};
};

class OperationLock {
 public:
  // An operation is running (run sequences and Exit look at this too).
  bool Busy() const { return busy_; }

 private:
  friend class OperationGuard;
  bool busy_ = false;
};

// Holds the lock for one operation, when it was free.
class OperationGuard {
 public:
  explicit OperationGuard(OperationLock& lock) : lock_(lock), acquired_(!lock.busy_) {
    if (acquired_) lock_.busy_ = true;
  }
  ~OperationGuard() {
    if (acquired_) lock_.busy_ = false;
  }
  OperationGuard(const OperationGuard&) = delete;
  OperationGuard& operator=(const OperationGuard&) = delete;

  bool Acquired() const { return acquired_; }

 private:
  OperationLock& lock_;
  bool acquired_;
};

}  // namespace quenlet
