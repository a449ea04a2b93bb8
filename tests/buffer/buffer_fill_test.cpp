// Byte and word fills and the patterns of the data buffer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "buffer/data_buffer.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeMessages;
using testing::FakeProgress;

// A buffer whose bytes (slack included) all read 0xEE, so every written byte shows.
class Fills : public ::testing::Test {
 protected:
  void SetUp() override { std::fill(buffer.Block().begin(), buffer.Block().end(), 0xEE); }
  std::vector<uint8_t> At(size_t offset, size_t n) {
    auto b = buffer.Block().subspan(offset, n);
    return {b.begin(), b.end()};
  }
  size_t CountNot(uint8_t value) {
    return std::count_if(buffer.Block().begin(), buffer.Block().end(),
                         [&](uint8_t b) { return b != value; });
  }
  DataBuffer buffer;
  FakeProgress progress;
};

TEST_F(Fills, ByteFillCoversStartToEndInclusiveUpToTheSlackByte) {
  const int64_t size = buffer.BufSize();
  ASSERT_TRUE(buffer.FillBuffer(2, 5, 0x11, progress));
  EXPECT_THAT(At(0, 8), ElementsAre(0xEE, 0xEE, 0x11, 0x11, 0x11, 0x11, 0xEE, 0xEE));
  EXPECT_THAT(progress.calls, ElementsAre("caption:Fill Buffer", "show", "position:0", "complete"));

  // end == BufSize fills BufSize + 1 bytes: the last one is slack.
  ASSERT_TRUE(buffer.FillBuffer(0, size, 0x22, progress));
  EXPECT_EQ(CountNot(0xEE), size_t(size) + 1);
  EXPECT_EQ(buffer.Block()[size], 0x22);
  EXPECT_EQ(buffer.Block()[size + 1], 0xEE);
}

TEST_F(Fills, RefusedRangesWriteNothing) {
  const int64_t size = buffer.BufSize();
  struct Case {
    int64_t start, end;
  };
  // One-byte ranges (end == start) are defined to fill nothing.
  for (Case c : {Case{10, 10}, Case{10, 9}, Case{0, size + 1}, Case{-1, 4}, Case{5, INT64_MAX}}) {
    SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end);
    progress = FakeProgress();
    EXPECT_FALSE(buffer.FillBuffer(c.start, c.end, 0x33, progress));
    EXPECT_FALSE(buffer.FillBufferWord(c.start, c.end, 0x3344, progress));
    EXPECT_FALSE(buffer.FillPattern(c.start, c.end, 1, progress));
    EXPECT_EQ(CountNot(0xEE), 0u);
    EXPECT_EQ(progress.completes, 0);
  }
}

TEST_F(Fills, WordFillsWriteTheirRangeAndNothingPastIt) {
  // A range of an odd number of bytes ends with the first byte of its last
  // word; the byte after the range, and BufSize at the buffer's top, keep
  // what they held.
  const int64_t size = buffer.BufSize();
  struct Case {
    int64_t start, end;
  };
  const Case cases[] = {
      {0, 3},                // even count, even start
      {0, 2},                // odd count, even start
      {1, 4},                // even count, odd start
      {1, 3},                // odd count, odd start
      {size - 4, size - 1},  // even count up to the last byte
      {size - 3, size - 1},  // odd count up to the last byte: BufSize stays
      {size - 4, size - 2},  // odd count, the byte after is the last byte
      {size - 2, size},      // a range that names BufSize itself fills it
  };
  for (const Case& c : cases) {
    for (bool sequential : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end << (sequential ? " seq" : ""));
      std::fill(buffer.Block().begin(), buffer.Block().end(), 0xEE);
      ASSERT_TRUE(sequential ? buffer.FillPattern(c.start, c.end, 2, progress)
                             : buffer.FillBufferWord(c.start, c.end, 0x1234, progress));
      EXPECT_EQ(CountNot(0xEE), size_t(c.end - c.start + 1));
      for (int64_t i = c.start; i <= c.end; ++i) {
        const bool first = (i - c.start) % 2 == 0;
        const uint8_t expected =
            sequential ? uint8_t(first ? (i >> 8) & 0xFF : (i - 1) & 0xFF) : (first ? 0x34 : 0x12);
        ASSERT_EQ(buffer.Block()[size_t(i)], expected) << i;
      }
      EXPECT_EQ(buffer.Block()[size_t(c.end + 1)], 0xEE);
    }
  }
}

TEST_F(Fills, PatternsWriteAddressesOrRandomBytesInTheRangeOnly) {
  ASSERT_TRUE(buffer.FillPattern(0x100, 0x103, 2, progress));
  EXPECT_THAT(At(0xFF, 6), ElementsAre(0xEE, 0x01, 0x00, 0x01, 0x02, 0xEE));

  ASSERT_TRUE(buffer.FillPattern(0x1FE, 0x201, 1, progress));
  EXPECT_THAT(At(0x1FD, 6), ElementsAre(0xEE, 0xFE, 0xFF, 0x00, 0x01, 0xEE));

  // Random: only the range changes, and it is not one repeated byte.
  std::fill(buffer.Block().begin(), buffer.Block().end(), 0xEE);
  ASSERT_TRUE(buffer.FillPattern(0x1000, 0x1FFF, 0, progress));
  const auto range = At(0x1000, 0x1000);
  EXPECT_EQ(CountNot(0xEE),
            size_t(std::count_if(range.begin(), range.end(), [](uint8_t b) { return b != 0xEE; })));
  EXPECT_GT(std::set<uint8_t>(range.begin(), range.end()).size(), 200u);
  EXPECT_EQ(buffer.Block()[0xFFF], 0xEE);
  EXPECT_EQ(buffer.Block()[0x2000], 0xEE);

  // An unknown kind writes nothing but still completes the bar.
  progress = FakeProgress();
  std::fill(buffer.Block().begin(), buffer.Block().end(), 0xEE);
  EXPECT_FALSE(buffer.FillPattern(0, 0x10, 3, progress));
  EXPECT_EQ(CountNot(0xEE), 0u);
  EXPECT_EQ(progress.completes, 1);
}

TEST_F(Fills, LongFillsStepTheBarAboutAHundredTimes) {
  FakeMessages messages;
  ASSERT_TRUE(buffer.ResizeBuffer(0x100000, messages));
  for (int kind = 0; kind < 4; ++kind) {
    SCOPED_TRACE(kind);
    progress = FakeProgress();
    bool ok = kind == 3 ? buffer.FillBufferWord(0, 0xFFFFF, 0xBEEF, progress)
                        : buffer.FillPattern(0, 0xFFFFF, uint8_t(kind), progress);
    ASSERT_TRUE(ok);
    EXPECT_GE(progress.steps, 100);
    EXPECT_LE(progress.steps, 101);
    EXPECT_EQ(progress.completes, 1);
  }
  progress = FakeProgress();
  ASSERT_TRUE(buffer.FillBuffer(0, 0xFFFFF, 0, progress));
  EXPECT_LE(progress.steps, 101);
}

}  // namespace
}  // namespace quenlet
