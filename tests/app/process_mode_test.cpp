#include "app/process_mode.h"

#include <gtest/gtest.h>

namespace quenlet {
namespace {

using Ticks5 = std::array<bool, 5>;

struct ParseCase {
  const char* stored;
  std::optional<Ticks5> ticks;  // nullopt: the boxes keep theirs
};

TEST(ProcessModeTest, StoredListTicksTheStepBoxes) {
  const ParseCase cases[] = {
      {"+E+V", Ticks5{true, false, false, true, false}},
      {"EV", Ticks5{true, false, false, true, false}},
      {"+E+C+P+V+S+T", Ticks5{true, true, true, true, true}},
      {"+T", Ticks5{}},  // two characters: every box unticked
      {"0", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
      // Only the first 15 characters count: the E at position 16 is not seen.
      {"+C+C+C+C+C+C+C+E", Ticks5{false, true, false, false, false}},
      {"+C+C+C+C+C+C+CVE", Ticks5{false, true, false, true, false}},
      {"+e+v", Ticks5{}},  // letters match in upper case only
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(StepTicksFromProcessMode(c.stored), c.ticks);
  }
}

TEST(ProcessModeTest, FormatIsReadBackAsTheSameTicks) {
  EXPECT_EQ(FormatProcessMode({}), "");
  EXPECT_EQ(FormatProcessMode({true, true, true, true, true, true}), "+E+C+P+V+S+T");
  for (int bits = 1; bits < 64; ++bits) {
    ProcessTicks ticks{};
    for (int i = 0; i < 6; ++i) ticks[i] = (bits >> i) & 1;
    const std::string stored = FormatProcessMode(ticks);
    SCOPED_TRACE(stored);
    const Ticks5 expected{ticks[0], ticks[1], ticks[2], ticks[3], ticks[4]};
    EXPECT_EQ(StepTicksFromProcessMode(stored), expected);
  }
}

}  // namespace
}  // namespace quenlet
