// Placing images by data-set mode, the growth of placements, and the in-place
// lane commands (popup Data Set, swap buttons).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "buffer/data_buffer.h"
#include "platform/page_block.h"
#include "state/buffer_limits.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeMessages;
using testing::FakeProgress;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kOld = 0xAA;   // what the buffer held
constexpr uint8_t kFill = 0xF0;  // the placement's fill byte
constexpr int F = -1;            // expected: the fill (or, for a merge, the old byte)

// Nine image bytes and the image's slack byte behind them.
const Bytes kImage = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xEE};
constexpr int64_t kLen = 9;
constexpr int64_t kDest = 4;

struct ModeCase {
  int32_t mode;
  std::vector<int> slot;  // the 9 bytes of the slot
};

const ModeCase kModes[] = {
    {0, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99}},
    {1, {0x11, 0x33, 0x55, 0x77, 0x99, F, F, F, F}},
    {2, {0x22, 0x44, 0x66, 0x88, 0xEE, F, F, F, F}},              // the last one is the slack byte
    {3, {0x22, 0x11, 0x44, 0x33, 0x66, 0x55, 0x88, 0x77, 0x99}},  // left by Swap Byte
    {4, {0x11, 0x55, F, F, F, F, F, F, F}},
    {5, {0x22, 0x66, F, F, F, F, F, F, F}},
    {6, {0x33, 0x77, F, F, F, F, F, F, F}},
    {7, {0x44, 0x88, F, F, F, F, F, F, F}},
    {31, {0x22, 0x11, 0x44, 0x33, 0x66, 0x55, 0x88, 0x77, 0xEE}},
    {32, {0x33, 0x44, 0x11, 0x22, 0x77, 0x88, 0x55, 0x66, kOld}},  // partial group stays
    {34, {0x55, 0x66, 0x77, 0x88, 0x11, 0x22, 0x33, 0x44, kOld}},
};

class Placement : public ::testing::Test {
 protected:
  void SetUp() override { std::fill(buffer.Block().begin(), buffer.Block().end(), kOld); }
  Bytes At(size_t offset, size_t n) {
    auto b = buffer.Block().subspan(offset, n);
    return {b.begin(), b.end()};
  }
  static Bytes Expect(const std::vector<int>& slot, uint8_t fill) {
    Bytes out;
    for (int v : slot) out.push_back(v == F ? fill : uint8_t(v));
    return out;
  }
  bool AllFrom(size_t from, size_t to, uint8_t value) {
    auto b = buffer.Block();
    return std::all_of(b.begin() + from, b.begin() + to, [&](uint8_t x) { return x == value; });
  }
  DataBuffer buffer;
  FakeMessages messages;
  FakeProgress progress;
};

TEST_F(Placement, WithFillLaysEveryModeAndFillsAroundItUpToBufSize) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE(c.mode);
    SetUp();
    buffer.SetDataMode(c.mode);
    ASSERT_TRUE(buffer.PlaceImageWithFill(kImage, kLen, kFill, kDest, messages, progress));
    const size_t size = buffer.BufSize();
    EXPECT_TRUE(AllFrom(0, kDest, kFill));
    EXPECT_THAT(At(kDest, kLen), ElementsAreArray(Expect(c.slot, kFill)));
    EXPECT_TRUE(AllFrom(kDest + kLen, size + 1, kFill));  // index BufSize included
    EXPECT_EQ(buffer.Block()[size + 1], kOld);
    EXPECT_EQ(buffer.BufSize(), 0x2000u);
  }
}

TEST_F(Placement, MergeLaysEveryModeAndKeepsEveryOtherByte) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE(c.mode);
    SetUp();
    buffer.SetDataMode(c.mode);
    ASSERT_TRUE(buffer.PlaceImage(kImage, kLen, kDest, messages, progress));
    EXPECT_TRUE(AllFrom(0, kDest, kOld));
    EXPECT_THAT(At(kDest, kLen), ElementsAreArray(Expect(c.slot, kOld)));
    // The byte-swap pair whose high index is len swaps in the slack byte and
    // so writes one byte past the slot; nothing else passes it.
    EXPECT_EQ(buffer.Block()[kDest + kLen], c.mode == 31 ? 0x99 : kOld);
    EXPECT_TRUE(AllFrom(kDest + kLen + 1, buffer.BlockSize(), kOld));
  }
}

TEST_F(Placement, PopupFormLaysModesZeroToThreeOnly) {
  for (const ModeCase& c : kModes) {
    if (c.mode > 2) continue;
    SCOPED_TRACE(c.mode);
    SetUp();
    buffer.SetDataMode(c.mode);
    ASSERT_TRUE(buffer.PlaceImageEvenOdd(kImage, kLen, kFill, kDest, messages, progress));
    EXPECT_TRUE(AllFrom(0, kDest, kFill));
    EXPECT_THAT(At(kDest, kLen), ElementsAreArray(Expect(c.slot, kFill)));
    EXPECT_TRUE(AllFrom(kDest + kLen, buffer.BufSize() + 1, kFill));
  }
  SetUp();
  buffer.SetDataMode(3);
  ASSERT_TRUE(buffer.PlaceImageEvenOdd(kImage, kLen, kFill, kDest, messages, progress));
  EXPECT_THAT(At(0, kDest + kLen + 1), ElementsAre(kFill, kFill, kFill, kFill, 0x22, 0x11, 0x44,
                                                   0x33, 0x66, 0x55, 0x88, 0x77, 0xEE, kFill));
  for (int32_t mode : {4, 31}) {
    SetUp();
    buffer.SetDataMode(mode);
    EXPECT_FALSE(buffer.PlaceImageEvenOdd(kImage, kLen, kFill, kDest, messages, progress));
    EXPECT_TRUE(AllFrom(0, buffer.BlockSize(), kOld));
  }
}

TEST_F(Placement, UnknownModesAndBadArgumentsPlaceNothing) {
  struct Case {
    const char* name;
    int32_t mode;
    int64_t len, dest;
  };
  const Case cases[] = {
      {"mode 8", 8, kLen, kDest},       {"mode 33", 33, kLen, kDest},
      {"len past image", 0, 11, kDest}, {"negative len", 0, -1, kDest},
      {"negative dest", 0, kLen, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    buffer.SetDataMode(c.mode);
    EXPECT_FALSE(buffer.PlaceImageWithFill(kImage, c.len, kFill, c.dest, messages, progress));
    EXPECT_FALSE(buffer.PlaceImage(kImage, c.len, c.dest, messages, progress));
    EXPECT_TRUE(AllFrom(0, buffer.BlockSize(), kOld));
  }
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(Placement, DrivesTheProgressWindowAsALoad) {
  ASSERT_TRUE(buffer.PlaceImageWithFill(kImage, kLen, kFill, kDest, messages, progress));
  EXPECT_THAT(progress.calls, ElementsAre("caption:Loading...", "show", "position:0",
                                          "caption:Waiting...", "complete", "close"));
  // A large placement steps about a hundred times.
  Bytes big(0x100000, 0x5C);
  progress = FakeProgress();
  ASSERT_TRUE(buffer.PlaceImageWithFill(big, int64_t(big.size()), 0, 0, messages, progress));
  EXPECT_GE(progress.steps, 99);
  EXPECT_LE(progress.steps, 104);
}

TEST_F(Placement, GrowsToTheNext64KAboveTheImage) {
  std::vector<BufferChange> changes;
  buffer.SetChangeHandler([&](BufferChange c) { changes.push_back(c); });
  Bytes image(100);
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i + 1);

  ASSERT_TRUE(buffer.PlaceImageWithFill(image, 100, 0x00, 0xFFF0, messages, progress));
  EXPECT_EQ(buffer.BufSize(), 0x20400u);
  EXPECT_THAT(changes, ElementsAre(BufferChange::Resized));
  EXPECT_THAT(At(0xFFF0, 100), ElementsAreArray(image));
  EXPECT_TRUE(AllFrom(0, 0xFFF0, 0x00));

  // A slot that ends exactly at BufSize needs no growth; one byte more does.
  const int64_t size = buffer.BufSize();
  ASSERT_TRUE(buffer.PlaceImage(image, 100, size - 100, messages, progress));
  EXPECT_EQ(buffer.BufSize(), 0x20400u);
  ASSERT_TRUE(buffer.PlaceImage(image, 100, size - 99, messages, progress));
  EXPECT_EQ(buffer.BufSize(), 0x30400u);
  EXPECT_THAT(At(size - 99, 100), ElementsAreArray(image));
}

TEST_F(Placement, ARefusedGrowthPlacesNothingAndSaysSo) {
  Bytes image(2000, 0x42);
  EXPECT_FALSE(
      buffer.PlaceImageWithFill(image, 2000, 0, int64_t(kMaxBufferSize), messages, progress));
  EXPECT_FALSE(buffer.PlaceImage(image, 2000, INT64_MAX - 10, messages, progress));
  ASSERT_EQ(messages.boxes.size(), 2u);
  EXPECT_EQ(messages.boxes[0].text, "Memory error !");
  EXPECT_EQ(messages.boxes[0].caption, "Buffer Resize.");
  EXPECT_EQ(buffer.BufSize(), 0x2000u);
  EXPECT_TRUE(AllFrom(0, buffer.BlockSize(), kOld));
  EXPECT_TRUE(progress.calls.empty());
}

TEST_F(Placement, AnImageTakenFromTheBufferItselfSurvivesTheGrowth) {
  for (size_t i = 0; i < 16; ++i) buffer.Bytes()[i] = uint8_t(0xB0 + i);
  const Bytes expected = At(0, 16);
  ASSERT_TRUE(buffer.PlaceImage(buffer.Bytes().first(16), 16, 0x3000, messages, progress));
  EXPECT_EQ(buffer.BufSize(), 0x10400u);
  EXPECT_THAT(At(0x3000, 16), ElementsAreArray(expected));
}

// A load's image taken over as the block gives the buffer, slack and all,
// that a resize and a placement of a copy give; the progress window walks
// alike. The image's block may be smaller than the buffer's block (it grows
// in place, also from the heap into a mapping), larger (it is cut), or hold
// other bytes past the image (a text whose start is the image).
TEST(AdoptImage, GivesWhatAResizeAndAPlacementGive) {
  constexpr uint64_t kMapped = PageBlock::kMappedFrom;
  struct Row {
    const char* name;
    uint64_t old_size;  // ResizeBuffer of the buffer before the load, 0: as created
    uint64_t address;   // where the image's data starts
    uint64_t data;      // data bytes
    uint64_t room;      // the image block's size
    bool other_bytes;   // the block holds other bytes past the image
    uint8_t fill;
    int64_t n;  // the load's ResizeBuffer
  };
  for (const Row& row : {
           Row{"fresh buffer, data high", 0, 0x30000, 0x100, ImageRoomFor(0x30100), false, kFill,
               0x40000},
           Row{"larger buffer before, its slack kept", 0x80000, 0x30000, 0x100,
               ImageRoomFor(0x30100), false, kFill, 0x40000},
           Row{"image ends at BufSize", 0, 0x3FC00, 0x800, ImageRoomFor(0x40400), false, kFill,
               0x40000},
           Row{"heap array grows into a mapping", 0, 0, 0x1000, 0x1000, false, kFill, 4 * kMapped},
           Row{"mapped array grows, zero fill", 0, 0x10000, kMapped, 2 * kMapped, false, 0,
               16 * kMapped},
           Row{"array larger than the block", 0, 0, 0x800, 2 * kMapped, false, kFill, 0x1000},
           Row{"a text's start, zero fill", 0x300000, 0, 0x3000, 4 * kMapped, true, 0, 2 * kMapped},
       }) {
    SCOPED_TRACE(row.name);
    const uint64_t len = row.address + row.data;
    auto image = [&] {
      PageBlock block;
      EXPECT_TRUE(block.Resize(row.room));
      std::memset(block.get(), 0xE5, row.address);  // the reader's pre-fill
      for (uint64_t i = row.address; i < len; ++i) block.get()[i] = uint8_t(i * 7 + 1);
      if (row.other_bytes) std::memset(block.get() + len, 0xAB, row.room - len);
      return block;
    };
    auto before = [&](DataBuffer& b) {
      FakeMessages m;
      if (row.old_size) {
        ASSERT_TRUE(b.ResizeBuffer(int64_t(row.old_size), m));
      }
      for (size_t i = 0; i < b.BlockSize(); ++i) b.Block()[i] = uint8_t(0xC0 + i % 13);
    };
    DataBuffer copied, adopted;
    before(copied);
    before(adopted);
    FakeMessages messages;
    FakeProgress copy_progress, adopt_progress;
    PageBlock for_copy = image(), for_adoption = image();
    ASSERT_TRUE(copied.ResizeBuffer(row.n, messages));
    ASSERT_TRUE(copied.PlaceImageWithFill({for_copy.get(), len}, int64_t(len), row.fill, 0,
                                          messages, copy_progress));
    ASSERT_TRUE(adopted.AdoptImage(for_adoption, len, row.n, row.fill, adopt_progress));

    EXPECT_TRUE(for_adoption.empty());
    EXPECT_EQ(adopted.BufSize(), copied.BufSize());
    ASSERT_EQ(adopted.BlockSize(), copied.BlockSize());
    EXPECT_TRUE(std::equal(adopted.Block().begin(), adopted.Block().end(), copied.Block().begin()));
    EXPECT_EQ(adopt_progress.calls, copy_progress.calls);
    EXPECT_EQ(adopt_progress.steps, copy_progress.steps);
  }

  // An image past the BufSize, a bad size or an image longer than its
  // block: nothing changes.
  DataBuffer buffer;
  FakeProgress progress;
  PageBlock wide;
  ASSERT_TRUE(wide.Resize(0x20000));
  std::memset(wide.get(), 0x5A, wide.size());
  EXPECT_FALSE(buffer.AdoptImage(wide, 0x20000, 0x1000, kFill, progress));
  EXPECT_FALSE(buffer.AdoptImage(wide, 0x100, -1, kFill, progress));
  EXPECT_FALSE(buffer.AdoptImage(wide, 0x20001, 0x40000, kFill, progress));
  EXPECT_EQ(wide.size(), 0x20000u);
  EXPECT_EQ(wide.get()[0x1FFFF], 0x5A);
  EXPECT_EQ(buffer.BufSize(), DataBuffer::kInitialSize);
  EXPECT_TRUE(progress.calls.empty());
}

TEST_F(Placement, PopupEvenOverFourBytesInPlace) {
  std::fill(buffer.Block().begin(), buffer.Block().end(), 0);
  const Bytes four = {0x11, 0x22, 0x33, 0x44};
  buffer.CopyIn(0, four);
  buffer.SetDataMode(1);
  ASSERT_TRUE(buffer.PlaceImageEvenOdd(buffer.Bytes().first(4), 4, 0, 0, messages, progress));
  EXPECT_THAT(At(0, 4), ElementsAre(0x11, 0x33, 0x00, 0x00));
}

// A buffer whose byte i holds i modulo 256.
class LaneCommands : public ::testing::Test {
 protected:
  void Sequence() {
    auto b = buffer.Bytes();
    for (size_t i = 0; i < b.size(); ++i) b[i] = uint8_t(i);
  }
  DataBuffer buffer;
  FakeMessages messages;
  FakeProgress progress;
  std::vector<BufferChange> changes;
};

TEST_F(LaneCommands, DataSetCommandsLayTheBufferOverItselfAndKeepTheMode) {
  buffer.SetChangeHandler([&](BufferChange c) { changes.push_back(c); });
  const size_t half = buffer.BufSize() / 2;
  struct Case {
    int32_t mode;
    std::function<uint8_t(size_t)> byte;
  };
  const Case cases[] = {
      {1, [&](size_t i) { return i < half ? uint8_t(2 * i) : uint8_t(0); }},
      {2, [&](size_t i) { return i < half ? uint8_t(2 * i + 1) : uint8_t(0); }},
      {3, [](size_t i) { return uint8_t(i ^ 1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Sequence();
    changes.clear();
    ASSERT_TRUE(buffer.SetDataSetInPlace(c.mode, progress));
    EXPECT_EQ(buffer.DataMode(), c.mode);
    EXPECT_THAT(changes, ElementsAre(BufferChange::Contents));
    const auto b = buffer.Bytes();
    size_t wrong = 0;
    for (size_t i = 0; i < b.size(); ++i) wrong += b[i] != c.byte(i);
    EXPECT_EQ(wrong, 0u);
  }
  EXPECT_EQ(buffer.BufSize(), 0x2000u);
}

TEST_F(LaneCommands, SwapButtonsSwapWholeGroupsAndLeaveAPartialGroup) {
  ASSERT_TRUE(buffer.ResizeBuffer(2, messages));  // BufSize 1026: 256 words and two bytes
  const size_t size = buffer.BufSize();
  buffer.SetDataMode(5);
  struct Case {
    int32_t mode;
    Bytes front;  // bytes 0..7 of the sequence after the swap
    Bytes back;   // the last six bytes, which held 01 .. 06
  };
  const Case cases[] = {
      {31, {1, 0, 3, 2, 5, 4, 7, 6}, {2, 1, 4, 3, 6, 5}},
      {32, {2, 3, 0, 1, 6, 7, 4, 5}, {3, 4, 1, 2, 5, 6}},
      // 1026 = 128 groups of 8 and two bytes: 1020..1023 trade with 1016..1019.
      {34, {4, 5, 6, 7, 0, 1, 2, 3}, {0xF8, 0xF9, 0xFA, 0xFB, 5, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Sequence();
    const Bytes tail = {1, 2, 3, 4, 5, 6};
    buffer.CopyIn(size - 6, tail);
    ASSERT_TRUE(buffer.SwapInPlace(c.mode, progress));
    EXPECT_EQ(buffer.DataMode(), 5);
    Bytes front(8), back(6);
    buffer.CopyOut(0, front);
    buffer.CopyOut(size - 6, back);
    EXPECT_THAT(front, ElementsAreArray(c.front));
    EXPECT_THAT(back, ElementsAreArray(c.back));
  }
  Sequence();
  EXPECT_FALSE(buffer.SwapInPlace(33, progress));
  EXPECT_EQ(buffer.Bytes()[1], 1);
}

}  // namespace
}  // namespace quenlet
