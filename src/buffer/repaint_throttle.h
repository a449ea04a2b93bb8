#pragma once
// Coalesced repaints: a refresh only asks for a paint, and paints follow one
// another no closer than the interval. A device read refreshes the editor
// once per 64 KB block; painting each time would slow the read down by the
// paints. The clock is passed in so that tests can run it by hand.
#include <chrono>
#include <functional>

namespace quenlet {

class RepaintThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = std::function<Clock::time_point()>;
  static constexpr std::chrono::milliseconds kInterval{50};

  explicit RepaintThrottle(Now now = &Clock::now) : now_(std::move(now)) {}

  void SetClock(Now now) { now_ = std::move(now); }

  // A refresh: zero when the view may paint now, else how long until the
  // pending paint falls due.
  std::chrono::milliseconds Refresh() const {
    if (!painted_) return {};
    const auto since = now_() - last_;
    if (since >= kInterval) return {};
    return std::chrono::ceil<std::chrono::milliseconds>(kInterval - since);
  }

  // The view painted (or was asked to) now.
  void Painted() {
    last_ = now_();
    painted_ = true;
  }

 private:
  Now now_;
  Clock::time_point last_{};
  bool painted_ = false;
};

}  // namespace quenlet
