// Cross-checks with srecord's srec_cat, an independent reader and writer of
// the hex formats: our writers produce what srec_cat produces with the
// matching options, and our readers load srec_cat's files into the image
// that srec_cat itself gives as binary.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "buffer/tektronix_hex.h"
#include "format_test_support.h"
#include "platform/user_interfaces.h"

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

}  // namespace
}  // namespace quenlet
