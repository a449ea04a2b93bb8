// Storage, growth, bounded access, the byte sum and the settings of the data buffer.
#include "buffer/data_buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>

#include <unistd.h>

#include "buffer/dialog_result.h"
#include "device/selected_device.h"
#include "platform/ini_file.h"
#include "state/buffer_limits.h"
#include "support/fakes.h"
#include "support/resident_pages.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using testing::FakeMessages;
using testing::FakeProgress;

TEST(DataBufferStorage, StartsAsZeroFilledEightKilobytes) {
  DataBuffer buffer;
  ASSERT_TRUE(buffer.HasBuffer());
  EXPECT_EQ(buffer.BufSize(), 0x2000u);
  EXPECT_EQ(buffer.BlockSize(), 0x2400u);
  EXPECT_EQ(buffer.BufRows(), 512);
  EXPECT_EQ(buffer.ViewTopRow(), 0);
  EXPECT_EQ(buffer.ViewPage(), 0);
  EXPECT_EQ(buffer.FileStartAdd(), 0);
  EXPECT_EQ(buffer.FileSize(), 0);
  EXPECT_EQ(buffer.DataMode(), 0);
  EXPECT_EQ(buffer.SumStart(), 0);
  EXPECT_EQ(buffer.SumEnd(), 0);
  const auto block = buffer.Block();
  EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0; }));
}

TEST(DataBufferStorage, ResizeKeepsContentsZeroesNewBytesAndResetsTheView) {
  DataBuffer buffer;
  FakeMessages messages;
  std::vector<BufferChange> changes;
  buffer.SetChangeHandler([&](BufferChange c) { changes.push_back(c); });
  buffer.Bytes()[0] = 0x5A;
  buffer.Bytes()[0x1FFF] = 0xA5;
  buffer.SetViewTopRow(7);
  buffer.SetViewPage(2);

  ASSERT_TRUE(buffer.ResizeBuffer(0x20000, messages));
  EXPECT_EQ(buffer.BufSize(), 0x20400u);
  EXPECT_EQ(buffer.BlockSize(), 0x20000u + 2000u);
  EXPECT_EQ(buffer.BufRows(), 0x20400 / 16);
  EXPECT_EQ(buffer.ViewTopRow(), 0);
  EXPECT_EQ(buffer.ViewPage(), 0);
  EXPECT_EQ(buffer.Bytes()[0], 0x5A);
  EXPECT_EQ(buffer.Bytes()[0x1FFF], 0xA5);
  const auto grown = buffer.Block().subspan(0x2000);
  EXPECT_TRUE(std::all_of(grown.begin(), grown.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_THAT(changes, ElementsAre(BufferChange::Resized));
  EXPECT_TRUE(messages.boxes.empty());

  // Resizing to the same n again adds nothing; shrinking keeps the front.
  ASSERT_TRUE(buffer.ResizeBuffer(0, messages));
  EXPECT_EQ(buffer.BufSize(), 1024u);
  EXPECT_EQ(buffer.BlockSize(), 2000u);
  EXPECT_EQ(buffer.Bytes()[0], 0x5A);
}

// A large buffer is zero pages: sizing it touches only what it keeps.
TEST(DataBufferStorage, ALargeBufferCostsOnlyTheBytesWritten) {
  constexpr size_t kHugePages = 2 * 512;  // two huge pages, where the system gives them unasked
  DataBuffer buffer;
  FakeMessages messages;
  buffer.Bytes()[0x1FFF] = 0xA5;
  for (int64_t n : {int64_t(256) << 20, int64_t(kMaxBufferSize), int64_t(64) << 20}) {
    SCOPED_TRACE(n);
    ASSERT_TRUE(buffer.ResizeBuffer(n, messages));
    EXPECT_LE(testing::ResidentPages(buffer.Block().data(), buffer.BlockSize()), kHugePages);
    EXPECT_EQ(buffer.Bytes()[0x1FFF], 0xA5);
    EXPECT_EQ(buffer.Block()[buffer.BlockSize() - 1], 0);
  }
}

TEST(DataBufferStorage, RefusedSizesKeepTheOldBufferAndSayWhy) {
  for (int64_t n : {int64_t(-1), int64_t(kMaxBufferSize) + 1, int64_t(1) << 40}) {
    SCOPED_TRACE(n);
    DataBuffer buffer;
    FakeMessages messages;
    buffer.Bytes()[3] = 0x77;
    EXPECT_FALSE(buffer.ResizeBuffer(n, messages));
    EXPECT_EQ(buffer.BufSize(), 0x2000u);
    EXPECT_EQ(buffer.BlockSize(), 0x2400u);
    EXPECT_EQ(buffer.Bytes()[3], 0x77);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "Memory error !");
    EXPECT_EQ(messages.boxes[0].caption, "Buffer Resize.");
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::None);
  }
}

TEST(DataBufferStorage, CheckedCopiesStayInsideTheBuffer) {
  DataBuffer buffer;
  const uint64_t size = buffer.BufSize();
  struct Case {
    uint64_t offset;
    size_t length;
    bool ok;
  };
  const Case cases[] = {
      {0, 16, true},   {size - 4, 4, true},  {size - 3, 4, false},    // one byte past the end
      {size, 0, true}, {size + 1, 0, false}, {UINT64_MAX, 1, false},  // offset + length would wrap
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    std::vector<uint8_t> data(c.length, 0xC3);
    EXPECT_EQ(buffer.CopyIn(c.offset, data), c.ok);
    std::vector<uint8_t> back(c.length, 0);
    EXPECT_EQ(buffer.CopyOut(c.offset, back), c.ok);
    if (c.ok) {
      EXPECT_EQ(back, data);
    }
  }
  // Nothing of a refused copy lands in the slack.
  const auto slack = buffer.Block().subspan(size);
  EXPECT_TRUE(std::all_of(slack.begin(), slack.end(), [](uint8_t b) { return b == 0; }));
}

// Every byte 1, so a sum counts the bytes it covered.
class CheckSumRange : public ::testing::Test {
 protected:
  void SetUp() override {
    std::fill(buffer.Bytes().begin(), buffer.Bytes().end(), 1);
    device.IcDeviceSize = 0x100;
    buffer.AttachDevice(&device);
  }
  DataBuffer buffer;
  SelectedDevice device;
  FakeMessages messages;
  FakeProgress progress;
};

TEST_F(CheckSumRange, EndOneDeviceSizeAboveStartIsExclusiveEveryOtherEndInclusive) {
  const int64_t size = buffer.BufSize();
  struct Case {
    int64_t start, end;
    uint32_t sum;
    int32_t sum_start, sum_end;
  };
  const Case cases[] = {
      {0, 0x100, 0x100, 0, 0xFF},         // one device size above: exclusive
      {0, 0xFF, 0x100, 0, 0xFF},          // same bytes, inclusive end
      {0x10, 0x110, 0x100, 0x10, 0x10F},  // the rule is relative to the start
      {0, 0x101, 0x102, 0, 0x101},        // any other end is inclusive
      {5, 5, 1, 5, 5},                    // one byte
      {5, 4, 0, 5, 4},                    // reversed: nothing
      {size - 4, size + 100, 4, int32_t(size - 4), int32_t(size - 1)},   // clipped at the end
      {-3, 2, 3, 0, 2},                                                  // clipped at the start
      {size + 10, size + 20, 0, int32_t(size + 10), int32_t(size - 1)},  // wholly outside
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end);
    EXPECT_EQ(buffer.GetCheckSum(c.start, c.end, 0, messages, progress), c.sum);
    EXPECT_EQ(buffer.ReturnCheckSum(), c.sum);
    EXPECT_EQ(buffer.SumValue(), c.sum);
    EXPECT_EQ(buffer.SumStart(), c.sum_start);
    EXPECT_EQ(buffer.SumEnd(), c.sum_end);
  }
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(CheckSumRange, WithoutADeviceSizeAOneByteRangeStaysOneByte) {
  buffer.AttachDevice(nullptr);
  EXPECT_EQ(buffer.GetDeviceSize(), 0u);
  EXPECT_EQ(buffer.GetCheckSum(5, 5, 0, messages, progress), 1u);
  device.IcDeviceSize = 0;
  buffer.AttachDevice(&device);
  EXPECT_EQ(buffer.GetCheckSum(7, 7, 0, messages, progress), 1u);
}

TEST_F(CheckSumRange, ShowsTheSumWhenAskedAndCompletesTheBar) {
  buffer.GetCheckSum(0, 9, 1, messages, progress);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "SUM : 0000000A");
  EXPECT_EQ(messages.boxes[0].caption, "Get Check Sum");
  EXPECT_THAT(progress.calls, ElementsAre("position:0", "complete"));
}

TEST(DataBufferCheckSum, AgreesWithAPlainSumAtEveryAlignmentAndLength) {
  DataBuffer buffer;
  FakeMessages messages;
  FakeProgress progress;
  std::mt19937 random(12345);
  for (auto& b : buffer.Bytes()) b = static_cast<uint8_t>(random());
  const auto bytes = buffer.Bytes();
  // Starts off any word boundary, lengths around the 8-byte words and the
  // 1024-byte folds of the fast loop.
  for (int64_t start : {0, 1, 3, 7, 8, 13}) {
    for (int64_t length : {1, 7, 8, 9, 1023, 1024, 1025, 3001, 8000}) {
      const int64_t end = std::min<int64_t>(start + length - 1, buffer.BufSize() - 1);
      const uint32_t expected =
          std::accumulate(bytes.begin() + start, bytes.begin() + end + 1, uint32_t{0});
      EXPECT_EQ(buffer.GetCheckSum(start, end, 0, messages, progress), expected)
          << start << " " << length;
    }
  }
}

TEST(DataBufferCheckSum, SixteenMegabytesOfFFWrapToFF000000) {
  DataBuffer buffer;
  FakeMessages messages;
  FakeProgress progress;
  ASSERT_TRUE(buffer.ResizeBuffer(0x1000000, messages));
  ASSERT_TRUE(buffer.FillBuffer(0, 0xFFFFFF, 0xFF, progress));
  EXPECT_EQ(buffer.GetCheckSum(0, 0xFFFFFF, 0, messages, progress), 0xFF000000u);
  // About a hundred steps for the whole sum, and the bar never full before Complete.
  progress = FakeProgress();
  buffer.GetCheckSum(0, 0xFFFFFF, 0, messages, progress);
  EXPECT_GE(progress.steps, 100);
  EXPECT_LE(progress.steps, 101);
}

class BufferSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("quenlet_buffer_settings_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    path = (dir / "History_1.ini").string();
    std::filesystem::remove(path);
    buffer.SetHistoryIniPath(path);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
  std::string path;
  DataBuffer buffer;
};

TEST_F(BufferSettings, ReadsItsPathsWithDefaultsAndSavesBufInf) {
  EXPECT_EQ(buffer.GetIcFileName(), "None");
  EXPECT_EQ(buffer.GetSystemPath(), "None");
  IniFile ini(path);
  ini.WriteString("SelectDlg", "IcFileName", "INI\\ATMEL\\AT29C010.ini");
  ini.WriteString("System", "Path", "/opt/q");
  EXPECT_EQ(buffer.GetIcFileName(), "INI\\ATMEL\\AT29C010.ini");
  EXPECT_EQ(buffer.GetSystemPath(), "/opt/q");

  buffer.SetFileSize(0x110);
  buffer.SetFileStartAdd(0x100);
  ASSERT_TRUE(buffer.SaveBufInf());
  EXPECT_EQ(ini.ReadString("BufInf", "BufSize", ""), "8192");
  EXPECT_EQ(ini.ReadString("BufInf", "FileSize", ""), "272");
  EXPECT_EQ(ini.ReadInteger("BufInf", "FileStartAdd", -1), 256);
  EXPECT_EQ(ini.ReadInteger("BufInf", "BufHandle", -1), 1);
}

TEST_F(BufferSettings, DialogOkIsReadFromTheDialogsSection) {
  EXPECT_EQ(ReadDialogOK(path, "FillDataDlg"), 0);
  IniFile(path).WriteString("FillDataDlg", "OK", "1");
  EXPECT_EQ(ReadDialogOK(path, "FillDataDlg"), 1);
  EXPECT_EQ(ReadDialogOK(path, "GetSumDlg"), 0);
}

}  // namespace
}  // namespace quenlet
