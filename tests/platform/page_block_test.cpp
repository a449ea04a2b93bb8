// Blocks of zero pages: what they hold through resizes on both sides of the
// mapping bound, what they leave unresident, and what a refused resize keeps.
#include "platform/page_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/counting_memory.h"
#include "support/resident_pages.h"

namespace quenlet {
namespace {

constexpr size_t kBound = PageBlock::kMappedFrom;

uint8_t Pattern(size_t i) {
  return static_cast<uint8_t>(i * 7 + (i >> 11) + 1);
}

// Every byte below `written` holds the pattern, every other byte is zero.
::testing::AssertionResult HoldsPatternThenZeros(const PageBlock& block, size_t written) {
  for (size_t i = 0; i < block.size(); ++i) {
    const uint8_t want = i < written ? Pattern(i) : 0;
    if (block.get()[i] != want) {
      return ::testing::AssertionFailure() << "byte 0x" << std::hex << i << " is 0x"
                                           << int(block.get()[i]) << ", not 0x" << int(want);
    }
  }
  return ::testing::AssertionSuccess();
}

// Resident pages of the mapped block's bytes from .. to - 1.
size_t ResidentPages(const PageBlock& block, size_t from, size_t to) {
  return testing::ResidentPages(block.get() + from, to - from);
}

// Each step resizes and then writes the pattern over the first `write`
// bytes; what was written before and survives the size must stay, every
// other byte must read zero, old bytes past a smaller size included.
TEST(PageBlock, ResizesKeepTheBytesAndShowOnlyZerosBeyond) {
  struct Step {
    size_t size;
    size_t write;
    bool mapped;
  };
  const std::vector<std::vector<Step>> sequences = {
      {{100, 100, false}, {5000, 0, false}, {40, 0, false}, {3000, 0, false}},
      {{4000, 4000, false}, {kBound, 0, true}, {3 * kBound, 3 * kBound, true}},
      // Shrinking inside a page, then growing over the bytes once written.
      {{kBound + 5000, kBound + 5000, true}, {kBound + 100, 0, true}, {kBound + 9000, 0, true}},
      // A mapping large enough for huge pages grows and shrinks as one.
      {{8 << 20, 8 << 20, true}, {32 << 20, 0, true}, {5 << 20, 0, true}, {12 << 20, 0, true}},
      // A mapped block stays mapped below the bound.
      {{2 * kBound, 2 * kBound, true},
       {1000, 0, true},
       {kBound / 2, kBound / 2, true},
       {8 * 1024 * 1024, 0, true}},
  };
  for (const auto& steps : sequences) {
    PageBlock block;
    size_t written = 0;
    for (const Step& step : steps) {
      SCOPED_TRACE(step.size);
      ASSERT_TRUE(block.Resize(step.size));
      EXPECT_EQ(block.size(), step.size);
      EXPECT_EQ(block.mapped(), step.mapped);
      written = std::min(written, step.size);
      for (size_t i = 0; i < step.write; ++i) block.get()[i] = Pattern(i);
      written = std::max(written, step.write);
      EXPECT_TRUE(HoldsPatternThenZeros(block, written));
    }
    ASSERT_TRUE(block.Resize(0));
    EXPECT_EQ(block.get(), nullptr);
  }
}

// Zero pages cost nothing until written, and zeroing hands written pages back.
TEST(PageBlock, NeverWrittenPagesAreNotResident) {
  constexpr size_t kSize = 64 * 1024 * 1024;
  PageBlock block;
  ASSERT_TRUE(block.Resize(100));
  std::memset(block.get(), 0x11, 100);
  ASSERT_TRUE(block.Resize(kSize));
  EXPECT_EQ(block.get()[kSize - 1], 0);
  // The first bytes and the page of the last byte read, nothing else (a huge
  // page each at most, where the system gives them unasked).
  EXPECT_LE(ResidentPages(block, 0, kSize), 2 * 512u);

  std::memset(block.get() + 0x100000, 0x22, 0x800000);
  EXPECT_GE(ResidentPages(block, 0x100000, 0x900000), 0x800u);
  block.Zero(0x100000 + 3, 0x900000 - 5);
  EXPECT_EQ(ResidentPages(block, 0x101000, 0x8FF000), 0u);
  for (size_t i : {size_t{0x100000}, size_t{0x100002}, size_t{0x8FFFFB}}) {
    EXPECT_EQ(block.get()[i], 0x22) << i;
  }
  for (size_t i : {size_t{0x100003}, size_t{0x500000}, size_t{0x8FFFFA}}) {
    EXPECT_EQ(block.get()[i], 0) << i;
  }
  EXPECT_EQ(block.get()[99], 0x11);
}

// A resize that cannot have its memory leaves the block as it was.
TEST(PageBlock, ARefusedResizeKeepsTheBlock) {
  struct Row {
    const char* name;
    size_t from;
    size_t to;
  };
  for (const Row& row : {Row{"heap to heap", 1000, 9000}, Row{"heap to mapping", 1000, 2 * kBound},
                         Row{"mapping grows", kBound, 4 * kBound}}) {
    SCOPED_TRACE(row.name);
    PageBlock block;
    ASSERT_TRUE(block.Resize(row.from));
    for (size_t i = 0; i < row.from; ++i) block.get()[i] = Pattern(i);
    const uint8_t* before = block.get();
    {
      testing::memory::Refusal refusal(row.from + 1);
      EXPECT_FALSE(block.Resize(row.to));
    }
    EXPECT_EQ(block.get(), before);
    EXPECT_EQ(block.size(), row.from);
    EXPECT_TRUE(HoldsPatternThenZeros(block, row.from));
  }
}

}  // namespace
}  // namespace quenlet
