// Cross-checks with srecord's srec_cat, an independent reader and writer of
// the hex formats: our writers produce what srec_cat produces with the
// matching options, and our readers load srec_cat's files into the image
// that srec_cat itself gives as binary.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/intel_hex.h"
#include "buffer/load_pipeline.h"
#include "buffer/motorola_srec.h"
#include "buffer/tektronix_hex.h"
#include "format_test_support.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;
using testing::Lines;

std::string FindSrecCat() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const fs::path candidate = fs::path(dir.empty() ? "." : dir) / "srec_cat";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return "";
}

class SrecordTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    srec_cat_ = FindSrecCat();
    ASSERT_FALSE(srec_cat_.empty()) << "srec_cat is not in PATH (Debian package srecord)";
  }

  // Runs srec_cat with these arguments (file names are ours, no quoting
  // needed) and returns what it wrote to stdout.
  std::string SrecCat(const std::string& arguments) {
    const std::string errors = Path("srec_cat.err");
    const std::string command = srec_cat_ + " " + arguments + " 2>" + errors;
    FILE* pipe = ::popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::string out;
    char chunk[65536];
    size_t n;
    while (pipe && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
    const int status = pipe ? ::pclose(pipe) : -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << "\n"
                                                               << testing::ReadFile(errors);
    return out;
  }

  std::string Bin(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = Path(name);
    testing::WriteFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
  }

  std::string srec_cat_;
};

std::string OurOutput(int kind, const std::vector<uint8_t>& bytes) {
  testing::StringSink sink;
  NullProgress progress;
  const SaveSource source(bytes);
  switch (kind) {
    case 0:
      WriteIntelHex(sink, source, bytes.size(), progress);
      break;
    case 1:
      WriteMotorolaS(sink, source, SRecordVariant::S1, bytes.size(), progress);
      break;
    case 2:
      WriteMotorolaS(sink, source, SRecordVariant::S2, bytes.size(), progress);
      break;
    case 3:
      WriteMotorolaS(sink, source, SRecordVariant::S3, bytes.size(), progress);
      break;
    default:
      WriteTektronixHex(sink, source, bytes.size(), progress);
      break;
  }
  return sink.text;
}

std::string DropFirstLine(const std::string& text) {
  return text.substr(text.find('\n') + 1);
}

TEST_F(SrecordTest, WritersMatchSrecCat) {
  const std::string motorola =
      " -header \"\" -execution-start-address 0 -o - -motorola "
      "-output-block-size=16 -disable=data-count -crlf -address-length=";
  for (size_t size : {32u, 0x2000u, 0x10000u}) {
    SCOPED_TRACE(size);
    const auto bytes = testing::RandomBytes(size, static_cast<uint32_t>(size));
    const std::string in = Bin("in.bin", bytes) + " -binary";
    // S1 and S3 files are srec_cat's own, byte for byte.
    EXPECT_EQ(OurOutput(1, bytes), SrecCat(in + motorola + "2"));
    EXPECT_EQ(OurOutput(3, bytes), SrecCat(in + motorola + "4"));
    EXPECT_EQ(
        OurOutput(4, bytes),
        SrecCat(in + " -execution-start-address 0 -o - -tektronix -output-block-size=16 -crlf"));
    // srec_cat opens Intel files with a segment record for segment 0, which
    // our files leave out; all after it is the same.
    const std::string intel = SrecCat(in +
                                      " -o - -intel -address-length=3 -output-block-size=32 "
                                      "-disable=exec-start-address -crlf");
    EXPECT_EQ(Lines(intel)[0], ":020000020000FC");
    EXPECT_EQ(OurOutput(0, bytes), DropFirstLine(intel));
    // S2 files end with S9 here, where srec_cat writes the S8 that S2 files
    // usually end with; the records before the end are the same.
    const std::string s2 = SrecCat(in + motorola + "3");
    const std::string ours = OurOutput(2, bytes);
    EXPECT_EQ(Lines(s2).back(), "S804000000FB");
    EXPECT_EQ(Lines(ours).back(), "S9030000FC");
    EXPECT_EQ(ours.substr(0, ours.size() - 12), s2.substr(0, s2.size() - 14));
  }
}

TEST_F(SrecordTest, IntelPastOneMegabyteMatchesSrecCatsLinearRecords) {
  const auto bytes = testing::RandomBytes(0x100040, 3);
  const std::string intel = SrecCat(Bin("in.bin", bytes) +
                                    " -binary -o - -intel -address-length=4 "
                                    "-output-block-size=32 -disable=exec-start-address -crlf");
  EXPECT_EQ(Lines(intel)[0], ":020000040000FA");
  EXPECT_EQ(OurOutput(0, bytes), DropFirstLine(intel));
}

// srec_cat writes data regions at these offsets into a file of each format;
// srec_cat's binary output of that file (from address 0, 00 in the gaps) is
// the image our reader must give with fill byte 00.
TEST_F(SrecordTest, ReadersLoadSrecCatFilesIntoSrecCatsImage) {
  struct Row {
    const char* name;
    std::string options;
    std::vector<uint64_t> offsets;
    HexReadResult (*read)(std::string_view, uint8_t, Progress&, uint64_t);
  };
  const std::vector<Row> rows = {
      {"intel linear", "-intel", {0x10, 0xFFF0, 0x30005, 0xFFFFE0}, &ReadIntelHex},
      {"intel segment", "-intel -address-length=3", {0, 0xFFE1, 0x54321}, &ReadIntelHex},
      {"S1", "-motorola -address-length=2", {0x100, 0x8000, 0xFF00}, &ReadMotorolaS},
      {"S2", "-motorola -address-length=3", {0x7, 0xFFF0, 0x123456}, &ReadMotorolaS},
      {"S3", "-motorola -address-length=4", {0x20, 0xFFFFF0, 0x1000100}, &ReadMotorolaS},
      {"tektronix", "-tektronix", {0x1, 0x1000, 0xFF00}, &ReadTektronixHex},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string inputs;
    for (size_t k = 0; k < row.offsets.size(); ++k) {
      const std::string region = Bin("r" + std::to_string(k) + ".bin",
                                     testing::RandomBytes(0x60 + 17 * k, static_cast<uint32_t>(k)));
      inputs += region + " -binary -offset " + std::to_string(row.offsets[k]) + " ";
    }
    const std::string file = Path("in.hex");
    SrecCat(inputs + "-o " + file + " " + row.options);
    const std::string image = SrecCat(file + " " + row.options + " -o - -binary");

    NullProgress progress;
    HexReadResult ours = row.read(testing::ReadFile(file), 0x00, progress, kMaxBufferSize);
    ASSERT_TRUE(ours.ok()) << ours.failure->line << ": " << ours.failure->reason;
    ASSERT_EQ(ours.image.Bytes().size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), ours.image.Bytes().begin(),
                           [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }));
  }
}

// Whole loads of srec_cat's files, compared byte for byte with srec_cat's
// own reading of them: with a fill, the buffer is srec_cat's image with the
// fill in every hole up to BufSize; without one, the image up to its last
// byte (holes pre-filled as the reader does) over what the buffer held. The
// sizes stand on both sides of each way the buffer's memory is had: small
// and large blocks, an image taken over as the buffer growing in place or
// across that bound, a buffer sized by the text and by the data, an old
// buffer larger than the new data.
TEST_F(SrecordTest, LoadsMatchSrecCatsReadingByteForByte) {
  struct Region {
    uint64_t offset, size;
  };
  struct Row {
    const char* name;
    int32_t format;
    std::string options;
    std::vector<Region> regions;
    std::optional<uint8_t> fill;  // none: merged over the buffer
    int64_t before;               // the buffer's size before, -1 a new buffer
    int64_t dest = 0;             // where the image goes
  };
  constexpr uint64_t kBound = 0x40000;  // small blocks below, mapped ones from here
  const std::vector<Row> rows = {
      {"intel dense tiny", kLoadIntelHex, "-intel", {{0, 0x1000}}, 0xFF, -1},
      {"intel dense, buffer below the bound", kLoadIntelHex, "-intel", {{0, 0x18000}}, 0xFF, -1},
      {"intel dense, image below and buffer above the bound",
       kLoadIntelHex,
       "-intel",
       {{0, kBound / 2}},
       0xFF,
       -1},
      {"intel dense 1 MiB", kLoadIntelHex, "-intel", {{0, 0x100000}}, 0xFF, -1},
      {"intel sparse high, zero fill",
       kLoadIntelHex,
       "-intel",
       {{0x10, 0x60}, {0x300000, 0x80}},
       0x00,
       -1},
      {"intel sparse merged over a large buffer",
       kLoadIntelHex,
       "-intel",
       {{0x30, 0x50}, {0x23456, 0x71}},
       std::nullopt,
       0x80000},
      {"intel dense merged over a small buffer",
       kLoadIntelHex,
       "-intel",
       {{0, kBound / 2}},
       std::nullopt,
       0x10000},
      {"S3 dense 1 MiB", kLoadMotorola, "-motorola -address-length=4", {{0, 0x100000}}, 0xFF, -1},
      {"S3 sparse merged",
       kLoadMotorola,
       "-motorola -address-length=4",
       {{0x100, 0x40}, {0xFF0000, 0x40}},
       std::nullopt,
       0x20000},
      {"S3 past 16 MiB, zero fill",
       kLoadMotorola,
       "-motorola -address-length=4",
       {{0x20, 0x40}, {0x1400000, 0x40}},
       0x00,
       -1},
      {"S2 into a larger buffer than 16 MiB",
       kLoadMotorola,
       "-motorola -address-length=3",
       {{0x5, 0x2000}, {0x7FFF00, 0x100}},
       0x5A,
       0x1800000},
      {"intel sparse placed higher, zero fill",
       kLoadIntelHex,
       "-intel",
       {{0x10, 0x60}, {0x300000, 0x80}},
       0x00,
       0x100000,
       0x10030},
      {"S3 dense merged higher",
       kLoadMotorola,
       "-motorola -address-length=4",
       {{0, 0x20000}},
       std::nullopt,
       0x40000,
       0x1234},
      {"tektronix dense", kLoadTektronix, "-tektronix", {{0, 0x8000}}, 0xFF, -1},
      {"tektronix sparse merged over a large buffer",
       kLoadTektronix,
       "-tektronix",
       {{0x10, 0x20}, {0xF000, 0x40}},
       std::nullopt,
       0x50000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string inputs;
    uint64_t end = 0;
    for (size_t k = 0; k < row.regions.size(); ++k) {
      const Region& r = row.regions[k];
      const std::string region = Bin("r" + std::to_string(k) + ".bin",
                                     testing::RandomBytes(r.size, static_cast<uint32_t>(k + 7)));
      inputs += region + " -binary -offset " + std::to_string(r.offset) + " ";
      end = std::max(end, r.offset + r.size);
    }
    const std::string file = Path("in.hex");
    SrecCat(inputs + "-o " + file + " " + row.options);

    DataBuffer buffer;
    testing::FakeMessages messages;
    NullProgress progress;
    if (row.before >= 0) {
      ASSERT_TRUE(buffer.ResizeBuffer(row.before, messages));
      ASSERT_TRUE(buffer.FillPattern(0, buffer.BufSize(), 1, progress));
    }
    const std::vector<uint8_t> old(buffer.Block().begin(), buffer.Block().end());
    LoadRequest request;
    request.name = file;
    request.format = row.format;
    request.fill = row.fill.value_or(0x33);
    request.fill_unused = row.fill.has_value();
    request.dest = row.dest;
    FileRangeRead text = ReadFileBytes(file, 0, GetFileLength(file) - 1);
    ASSERT_EQ(text.status, FileRangeRead::Status::Read);
    ASSERT_TRUE(
        LoadTextIntoBuffer(buffer, std::move(text.bytes), request, messages, progress).loaded);
    ASSERT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
    const uint64_t size = buffer.BufSize();

    // srec_cat's image of the file moved up by `offset`, from 0 up to `end`,
    // `fill` in its holes.
    const auto srec_image = [&](uint8_t fill, uint64_t offset, uint64_t end) {
      const char* reading = row.format == kLoadIntelHex   ? "-intel"
                            : row.format == kLoadMotorola ? "-motorola"
                                                          : "-tektronix";
      return SrecCat(strprintf("%s %s -offset %llu -fill 0x%02X 0 %llu -o - -binary", file.c_str(),
                               reading, static_cast<unsigned long long>(offset), fill,
                               static_cast<unsigned long long>(end)));
    };
    std::string expected;
    if (row.fill) {
      expected = srec_image(*row.fill, row.dest, size);
      EXPECT_EQ(buffer.Block()[size], *row.fill);  // the slack byte the fill reaches
    } else {
      // The readers' pre-fill: 0xFF for S-records without a fill, else the fill byte.
      const uint8_t pre = row.format == kLoadMotorola ? 0xFF : request.fill;
      expected.assign(old.begin(), old.begin() + std::min<uint64_t>(old.size(), size));
      expected.resize(size, '\0');
      const std::string image = srec_image(pre, 0, end);
      ASSERT_EQ(image.size(), end);
      expected.replace(row.dest, image.size(), image);
    }
    ASSERT_EQ(expected.size(), size);
    const auto bytes = buffer.Bytes();
    const auto differs = std::mismatch(bytes.begin(), bytes.end(), expected.begin(),
                                       [](uint8_t a, char b) { return a == uint8_t(b); });
    EXPECT_EQ(differs.first, bytes.end())
        << "first difference at 0x" << std::hex << (differs.first - bytes.begin());
  }
}

}  // namespace
}  // namespace quenlet
