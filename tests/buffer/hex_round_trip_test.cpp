// A range saved in each format and loaded back gives the same bytes at the
// same file addresses, whatever the range's start and length.
#include <gtest/gtest.h>

#include <ostream>

#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/load_pipeline.h"
#include "buffer/save_pipeline.h"
#include "format_test_support.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

struct RoundTrip {
  const char* name;
  int32_t save_format;
  int64_t start;
  uint64_t length;
};

class HexRoundTripTest : public testing::TempDirTest,
                         public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(HexRoundTripTest, LoadsBackWhatWasSaved) {
  const RoundTrip& c = GetParam();
  testing::FakeMessages messages;
  NullProgress progress;
  DataBuffer source;
  ASSERT_TRUE(source.ResizeBuffer(static_cast<int64_t>(c.start + c.length + 64), messages));
  const auto random = testing::RandomBytes(source.BlockSize(), 1);
  std::copy(random.begin(), random.end(), source.Block().begin());

  const std::string file = Path("range.out");
  ASSERT_TRUE(SaveRange(source, file, c.start, c.start + static_cast<int64_t>(c.length) - 1,
                        c.save_format, messages, progress))
      << (messages.boxes.empty() ? "" : messages.boxes.back().text);

  DataBuffer target;
  LoadRequest request;
  request.name = file;
  request.format = kLoadAutoDetect;
  request.fill = 0x00;
  request.fill_unused = true;
  const LoadOutcome outcome =
      LoadTextIntoBuffer(target, testing::ReadFile(file), request, messages, progress);
  ASSERT_TRUE(outcome.loaded) << (messages.boxes.empty() ? "" : messages.boxes.back().text);

  // Hex files carry the range rounded up to 32 bytes; binary files the range.
  const uint64_t expected_length =
      c.save_format == kSaveBinary ? c.length : (c.length + 31) / 32 * 32;
  ASSERT_EQ(outcome.placed, expected_length);
  ASSERT_GE(target.BufSize(), expected_length);
  const uint8_t* want = source.Block().data() + c.start;
  const uint8_t* got = target.Bytes().data();
  for (uint64_t i = 0; i < expected_length; ++i) {
    ASSERT_EQ(got[i], want[i]) << "file address " << std::hex << i;
  }
  EXPECT_EQ(target.FileSize(), static_cast<int32_t>(expected_length));
}

// Test names say which case failed; the whole case object is not printed.
void PrintTo(const RoundTrip& c, std::ostream* os) {
  *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, HexRoundTripTest,
    ::testing::Values(RoundTrip{"IntelPadding", kSaveIntelHex, 0, 33},
                      RoundTrip{"IntelFrom5000Across64KB", kSaveIntelHex, 0x5000, 0x10020},
                      RoundTrip{"IntelWholeMegabyte", kSaveIntelHex, 0x11, 0x100000},
                      RoundTrip{"IntelPastOneMegabyte", kSaveIntelHex, 0x123, 0x100001},
                      RoundTrip{"S1Full64KB", kSaveMotorolaS1, 0x10, 0x10000},
                      RoundTrip{"S1Padding", kSaveMotorolaS1, 0x3, 17},
                      RoundTrip{"S2Across64KB", kSaveMotorolaS2, 0xFFF0, 0x20020},
                      RoundTrip{"S3Across16MB", kSaveMotorolaS3, 0x40, 0x1000020},
                      RoundTrip{"TektronixFull64KB", kSaveTektronix, 0x20, 0x10000},
                      RoundTrip{"TektronixPadding", kSaveTektronix, 0x7, 1},
                      RoundTrip{"BinaryOddRange", kSaveBinary, 0x10, 101}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenlet
