#include "buffer/load_pipeline.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <numeric>
#include <ostream>
#include <utility>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/pic_sum.h"
#include "device/selected_device.h"
#include "format_test_support.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "state/buffer_limits.h"
#include "state/main_form_state.h"
#include "support/blocking_pipes.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

class LoadPipelineTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    paths_ = std::make_unique<ProgramPaths>(dir_.string());
    context_ = std::make_unique<LoadSaveContext>(
        LoadSaveContext{buffer_, state_, *paths_, messages_, progress_, windows_});
    buffer_.SetHistoryIniPath(Path("History_1.ini"));
    device_.IcDeviceSize = 0x100;
    buffer_.AttachDevice(&device_);
  }

  IniFile History() { return IniFile(Path("History_1.ini")); }

  // What the load dialog leaves behind for a file of ours.
  void Dialog(const std::string& file, int64_t first, int64_t last, int32_t format,
              int64_t dest = 0, int fill = 0xFF, bool fill_unused = true) {
    IniFile h = History();
    h.WriteString("LoadDlg", "Name", file);
    h.WriteInteger("LoadDlg", "SourceSAdd", static_cast<int32_t>(first));
    h.WriteInteger("LoadDlg", "SourceEAdd", static_cast<int32_t>(last));
    h.WriteInteger("LoadDlg", "DistSAdd", static_cast<int32_t>(dest));
    h.WriteInteger("LoadDlg", "UserFill", fill);
    h.WriteInteger("LoadDlg", "UnuserFillCheck", fill_unused ? 1 : 0);
    h.WriteInteger("LoadDlg", "Format", format);
    h.WriteString("LoadDlg", "OK", "1");
    buffer_.SetFileFormat(format);
  }

  std::string File(const std::string& name, const std::string& bytes) {
    testing::WriteFile(dir_ / name, bytes);
    return Path(name);
  }

  // ReadFileRange and LoadIntoBuffer as the load command runs them.
  int32_t Load(bool report_detection = false) {
    auto text = ReadFileRange(*context_);
    if (!text) return 0;
    return LoadIntoBuffer(*context_, std::move(*text), report_detection, false);
  }

  uint32_t Sum(size_t first, size_t count) const {
    auto b = buffer_.Bytes();
    return std::accumulate(b.begin() + first, b.begin() + first + count, 0u);
  }

  std::vector<uint8_t> Snapshot() const { return {buffer_.Block().begin(), buffer_.Block().end()}; }

  DataBuffer buffer_;
  SelectedDevice device_;
  MainFormState state_;
  std::unique_ptr<ProgramPaths> paths_;
  testing::FakeMessages messages_;
  testing::FakeProgress progress_;
  testing::FakeLoadSaveWindows windows_;
  std::unique_ptr<LoadSaveContext> context_;
};

TEST_F(LoadPipelineTest, BinaryRangePlacedAtTheDestination) {
  std::string bytes(64, '\0');
  for (int i = 0; i < 64; ++i) bytes[i] = static_cast<char>(0x40 + i);
  Dialog(File("data.bin", bytes), 0x10, 0x1F, kLoadBinary, 0x100);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.Bytes()[0x100], 0x50);
  EXPECT_EQ(buffer_.Bytes()[0x10F], 0x5F);
  EXPECT_EQ(buffer_.Bytes()[0x110], 0xFF);  // filled around the data
  EXPECT_EQ(buffer_.Bytes()[0xFF], 0xFF);
  EXPECT_EQ(buffer_.FileStartAdd(), 0x100);
  EXPECT_EQ(buffer_.FileSize(), 0x110);
  EXPECT_EQ(windows_.summary.file_sum, Sum(0x100, 16));
  EXPECT_EQ(windows_.summary.file_start, 0x10u);
  EXPECT_EQ(windows_.summary.file_end, 0x1Fu);
  EXPECT_EQ(windows_.summary.device_sum, Sum(0, 0x100));
  EXPECT_EQ(windows_.summary.device_end, 0xFFu);
  EXPECT_EQ(windows_.sum_text, strprintf("%08X", Sum(0, 0x100)));
}

TEST_F(LoadPipelineTest, LaneModesSumWhatTheyPlace) {
  std::string bytes(100, '\0');
  for (int i = 0; i < 100; ++i) bytes[i] = static_cast<char>(i + 1);
  const std::string file = File("data.bin", bytes);
  struct Row {
    int32_t mode;
    int64_t dest;
    size_t placed;
  };
  for (const Row& row : {Row{kDataEvenBytes, 0, 50}, Row{kDataEvenBytes, 0x300, 50},
                         Row{kDataGroupByte1, 0x301, 25}}) {
    SCOPED_TRACE(row.mode);
    buffer_.SetDataMode(row.mode);
    Dialog(file, 0, 99, kLoadBinary, row.dest, 0x00);
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(buffer_.Bytes()[row.dest], row.mode == kDataEvenBytes ? 1 : 2);
    // The file sum covers the bytes placed from the destination on, also
    // when the destination is not 0.
    EXPECT_EQ(windows_.summary.file_sum, Sum(row.dest, row.placed));
    EXPECT_NE(windows_.summary.file_sum, 0u);
    EXPECT_EQ(buffer_.FileSize(), row.dest + 100);
  }
}

TEST_F(LoadPipelineTest, AutoDetectedIntelSetsFormatAndDataMode) {
  buffer_.SetDataMode(kDataOddBytes);
  Dialog(File("a.hex", ":0400000001020304F2\r\n:00000001FF\r\n"), 0, 33, kLoadAutoDetect);
  ASSERT_EQ(Load(true), 1);
  ASSERT_FALSE(messages_.boxes.empty());
  EXPECT_EQ(messages_.boxes[0].text, "This is Intel Hex format !");
  EXPECT_EQ(messages_.boxes[0].caption, "Auto detect");
  EXPECT_EQ(History().ReadInteger("LoadDlg", "Format", -1), kLoadIntelHex);
  EXPECT_EQ(buffer_.DataMode(), kDataEveryByte);
  EXPECT_EQ(buffer_.Bytes()[3], 4);
  EXPECT_EQ(buffer_.FileSize(), 4);
}

TEST_F(LoadPipelineTest, AutoDetectFallsBackToBinaryButNotForDamagedHex) {
  Dialog(File("text.bin", "plain text\r\n"), 0, 11, kLoadAutoDetect);
  ASSERT_EQ(Load(true), 1);
  EXPECT_EQ(messages_.boxes.back().text, "Binary Code File");
  EXPECT_EQ(messages_.boxes.back().caption, "Detect");
  EXPECT_EQ(History().ReadInteger("LoadDlg", "Format", -1), kLoadBinary);
  EXPECT_EQ(buffer_.Bytes()[0], 'p');

  // Its only data record is damaged, so no detector passes; it is still
  // reported as the Intel file it is.
  messages_.boxes.clear();
  const auto before = Snapshot();
  const std::string damaged = File("damaged.hex", ":0400000001020304F3\r\n:00000001FF\r\n");
  Dialog(damaged, 0, 33, kLoadAutoDetect);
  EXPECT_EQ(Load(true), 0);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text,
            "File read error!!\n\n" + damaged +
                ", line 1: the checksum is F3, the record's bytes need F2.");
  EXPECT_EQ(messages_.boxes[0].icon, MessageIcon::Stop);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(History().ReadInteger("LoadDlg", "Format", -1), kLoadAutoDetect);

  // A sound file the detector refuses (blank line before the first record)
  // loads as what it is rather than as text.
  Dialog(File("late.tek", "\r\n/00000202AABB2A\r\n/00000000\r\n"), 0, 99, kLoadAutoDetect);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(History().ReadInteger("LoadDlg", "Format", -1), kLoadTektronix);
  EXPECT_EQ(buffer_.Bytes()[0], 0xAA);
}

TEST_F(LoadPipelineTest, ChosenFormatThatDoesNotMatchIsRefused) {
  const auto before = Snapshot();
  Dialog(File("text.bin", "plain text\r\n"), 0, 11, kLoadMotorola);
  EXPECT_EQ(Load(), 0);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text, "File is not Motorola Hex format !");
  EXPECT_EQ(messages_.boxes[0].caption, "ERROR !");
  EXPECT_EQ(messages_.boxes[0].icon, MessageIcon::None);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(LoadPipelineTest, MotorolaLoadsGiveTheSixteenMegabyteBuffer) {
  Dialog(File("a.s19", "S1070000AABBCCDDEA\r\nS9030000FC\r\n"), 0, 31, kLoadMotorola);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.BufSize(), 0x1020400u);
  EXPECT_EQ(buffer_.Bytes()[0], 0xAA);
  // Loading again keeps that size: the range reader's growth does not add up.
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.BufSize(), 0x1020400u);
  // A larger buffer is not cut down to it.
  ASSERT_TRUE(buffer_.ResizeBuffer(0x2000000, messages_));
  buffer_.Bytes()[0x1FFFFFF] = 0x5A;
  Dialog(Path("a.s19"), 0, 31, kLoadMotorola, 0, 0xFF, /*fill_unused=*/false);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.BufSize(), 0x2000400u + 0x400);
  EXPECT_EQ(buffer_.Bytes()[0x1FFFFFF], 0x5A);
}

TEST_F(LoadPipelineTest, RangesAndBufferGrowth) {
  const std::string file = File("data.bin", std::string(64, '\x11'));
  // A range that fits adds 1024 bytes to the buffer each time.
  Dialog(file, 0, 63, kLoadBinary);
  const uint32_t size = buffer_.BufSize();
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.BufSize(), size + 1024);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.BufSize(), size + 2048);

  // A range past the file's end takes only what the file holds; the rest is
  // the fill byte.
  Dialog(file, 0x30, 0x1000, kLoadBinary, 0, 0xEE);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.FileSize(), 0x10);
  EXPECT_EQ(buffer_.Bytes()[0xF], 0x11);
  EXPECT_EQ(buffer_.Bytes()[0x10], 0xEE);

  // A reversed range reads nothing, without a word (also when it is far
  // below its start).
  const auto before = Snapshot();
  messages_.boxes.clear();
  for (int64_t first : {5, 0x20}) {
    Dialog(file, first, 4, kLoadBinary);
    EXPECT_EQ(Load(), 0);
  }
  EXPECT_TRUE(messages_.boxes.empty());
  EXPECT_EQ(Snapshot(), before);
}

// A byte range too large for the largest buffer is refused before it is
// read: nothing of it is read (the progress window never opens). The file is
// sparse, so it takes no room on disk.
TEST_F(LoadPipelineTest, AByteRangeLargerThanAnyBufferIsRefusedUnread) {
  const std::string file = Path("huge.bin");
  {
    std::ofstream out(file, std::ios::binary);
    out << "no hex records here";
  }
  std::filesystem::resize_file(file, kMaxBufferSize + 0x10);
  for (int32_t format : {kLoadBinary, kLoadAutoDetect}) {
    SCOPED_TRACE(format);
    messages_.boxes.clear();
    progress_.calls.clear();
    const uint32_t size = buffer_.BufSize();
    Dialog(file, 0, static_cast<int64_t>(kMaxBufferSize) + 0xF, format);
    EXPECT_EQ(Load(), 0);
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0].text,
              file +
                  " does not fit the buffer: its data would end at 0x20000010, and the "
                  "largest buffer holds 0x20000000 bytes.");
    EXPECT_TRUE(progress_.calls.empty());
    EXPECT_EQ(buffer_.BufSize(), size);
  }
}

// In a lane mode a hex image's file sum covers its whole slot (the fill
// bytes the mode leaves in it too); a byte range's covers what was placed.
TEST_F(LoadPipelineTest, HexImagesInLaneModesSumTheirWholeSlot) {
  buffer_.SetDataMode(kDataEvenBytes);
  Dialog(File("a.hex", ":0400100001020304E2\r\n:00000001FF\r\n"), 0, 99, kLoadIntelHex, 0x20, 0x11);
  ASSERT_EQ(Load(), 1);
  // Image 0x00 .. 0x13 (fill, then 01 02 03 04) in even-byte lanes from 0x20.
  EXPECT_EQ(buffer_.Bytes()[0x28], 0x01);
  EXPECT_EQ(buffer_.Bytes()[0x29], 0x03);
  EXPECT_EQ(buffer_.FileSize(), 0x20 + 0x14);
  EXPECT_EQ(windows_.summary.file_sum, Sum(0x20, 0x14));
  EXPECT_NE(Sum(0x20, 0x14), Sum(0x20, 0x0A));
}

TEST_F(LoadPipelineTest, CallersSizingRunsOnlyForATextThatLoads) {
  // The load dialog's sizing: a buffer of 256 KB, applied before placement.
  int runs = 0;
  LoadRequest request;
  request.format = kLoadIntelHex;
  request.before_commit = [&] {
    ++runs;
    buffer_.ResizeBuffer(0x40000, messages_);
  };
  const auto before = Snapshot();
  EXPECT_FALSE(
      LoadTextIntoBuffer(buffer_, ":0400000001020304F3\r\n", request, messages_, progress_).loaded);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(Snapshot(), before);

  ASSERT_TRUE(
      LoadTextIntoBuffer(buffer_, ":0400000001020304F2\r\n", request, messages_, progress_).loaded);
  EXPECT_EQ(runs, 1);
  // The load's own growth counts from the size the sizing left.
  EXPECT_EQ(buffer_.BufSize(), 0x40000u + 2 * DataBuffer::kSizeExtra);
  EXPECT_EQ(buffer_.Bytes()[3], 4);
}

TEST_F(LoadPipelineTest, SwapByteLeftByThePopupSwapsLaterLoads) {
  buffer_.SetDataMode(kDataSwapPairs);
  Dialog(File("a.bin", "ABCD"), 0, 3, kLoadBinary, 0x10, 0x00);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(std::string(buffer_.Bytes().begin() + 0x10, buffer_.Bytes().begin() + 0x14), "BADC");
  EXPECT_EQ(buffer_.DataMode(), kDataSwapPairs);
  EXPECT_EQ(windows_.summary.file_sum, Sum(0x10, 4));
}

TEST_F(LoadPipelineTest, ExeAndPofPlacements) {
  std::string exe(1000, '\x01');
  exe[512] = '\x42';
  Dialog(File("a.exe", exe), 0, 999, kLoadDosExe);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.Bytes()[0], 0x42);
  EXPECT_EQ(buffer_.FileSize(), 488);

  std::string pof(0x40, '\0');
  pof.replace(0, 3, "POF");
  pof += std::string(8, '\xFF') + "\x01\xA0";
  device_.IcDeviceSize = 0x100;  // more than the file holds
  Dialog(File("a.pof", pof), 0, static_cast<int64_t>(pof.size()) - 1, kLoadAutoDetect, 0, 0x33);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(buffer_.Bytes()[7], 0xFF);
  EXPECT_EQ(buffer_.Bytes()[8], 0x80);
  EXPECT_EQ(buffer_.Bytes()[9], 0x05);
  EXPECT_EQ(buffer_.Bytes()[10], 0x33);
  EXPECT_EQ(buffer_.FileSize(), 10);
}

struct Malformed {
  const char* name;
  const char* fixture;
  int32_t format;
  int32_t data_mode;
  const char* message_part;
};

class MalformedFileTest : public LoadPipelineTest,
                          public ::testing::WithParamInterface<Malformed> {};

// Each damaged file says what is wrong, and the buffer, its size, the data
// mode and the remembered format stay as they were.
TEST_P(MalformedFileTest, RefusedWithItsMessageAndBufferUnchanged) {
  const Malformed& c = GetParam();
  const std::string file = std::string(QUENLET_FIXTURES) + "/formats/" + c.fixture;
  for (size_t i = 0; i < buffer_.BufSize(); ++i) buffer_.Bytes()[i] = static_cast<uint8_t>(i * 13);
  buffer_.SetFileSize(0x77);
  buffer_.SetDataMode(c.data_mode);
  const auto before = Snapshot();
  const uint32_t size = buffer_.BufSize();
  Dialog(file, 0, 0xFFFF, c.format);

  EXPECT_EQ(Load(true), 0);
  ASSERT_FALSE(messages_.boxes.empty());
  const std::string& text = messages_.boxes.back().text;
  EXPECT_NE(text.find(c.message_part), std::string::npos) << text;
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(buffer_.BufSize(), size);
  EXPECT_EQ(buffer_.FileSize(), 0x77);
  EXPECT_EQ(buffer_.DataMode(), c.data_mode);
  EXPECT_EQ(History().ReadInteger("LoadDlg", "Format", -1), c.format);
  EXPECT_EQ(windows_.redraws, 0);
}

// Test names say which case failed; the whole case object is not printed.
void PrintTo(const Malformed& c, std::ostream* os) {
  *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MalformedFileTest,
    ::testing::Values(
        Malformed{"TruncatedLine", "truncated_line.hex", kLoadAutoDetect, 0,
                  "truncated_line.hex, line 2: the record is cut short"},
        Malformed{"BadChecksum", "bad_checksum.hex", kLoadIntelHex, 0,
                  "bad_checksum.hex, line 2: the checksum is 67"},
        Malformed{"OddDigitCount", "odd_digits.s19", kLoadAutoDetect, 0,
                  "File Data ERROR !!\n\nPlease check your file!\n \n"},
        Malformed{"RecordPastMaximumBuffer", "past_max_buffer.hex", kLoadIntelHex, 0,
                  "line 2: data at 0x20000000 lies beyond the largest buffer"},
        Malformed{"LinearAddressOverrun", "linear_overrun.hex", kLoadAutoDetect, 0,
                  "line 3: data at 0xFFFF0000 lies beyond"},
        Malformed{"TektronixDataChecksum", "bad_data_checksum.tek", kLoadAutoDetect, 0,
                  "bad_data_checksum.tek, line 2: the data checksum is 19"},
        Malformed{"EmptyFile", "empty.bin", kLoadAutoDetect, 0, "Nothing to load"},
        Malformed{"NulInText", "nul_in_text.hex", kLoadAutoDetect, 0, "line 2: a NUL byte"},
        Malformed{"ZeroByteBinary", "empty.bin", kLoadBinary, 0, "holds no byte"},
        Malformed{"OneByteBinaryInA32BitLane", "one_byte.bin", kLoadBinary, kDataGroupByte2,
                  "the data set mode 6 places no byte"},
        Malformed{"OneByteExe", "one_byte.bin", kLoadDosExe, 0, "Format Error !"},
        Malformed{"UnknownDataMode", "one_byte.bin", kLoadBinary, 9,
                  "the data set mode 9 places no byte"},
        Malformed{"S3RecordPastTheLastAddress", "past_last_address.s37", kLoadAutoDetect, 0,
                  "past_last_address.s37, line 2: the data at FFFFFFF8 runs past the "
                  "last address FFFFFFFF."},
        // Damaged below a comment line: still a hex file, not binary text.
        Malformed{"CommentBeforeADamagedRecord", "comment_first.hex", kLoadAutoDetect, 0,
                  "comment_first.hex, line 2: the checksum is F3"},
        // Sound records without data: the format's own refusal.
        Malformed{"MotorolaWithoutDataRecords", "no_data.s19", kLoadMotorola, 0,
                  "File is not Motorola Hex format !"},
        Malformed{"IntelEndRecordOnly", "end_only.hex", kLoadAutoDetect, 0,
                  "File is not Intel Hex format !"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadPipelineTest, SumFieldTurnsRedOnlyWhenTheSumChanges) {
  const std::string a = File("a.bin", std::string(16, '\x01'));
  const std::string b = File("b.bin", std::string(16, '\x02'));
  Dialog(a, 0, 15, kLoadBinary);
  ASSERT_EQ(Load(), 1);
  EXPECT_TRUE(windows_.sum_red);
  ASSERT_EQ(Load(), 1);
  EXPECT_FALSE(windows_.sum_red);
  Dialog(b, 0, 15, kLoadBinary);
  ASSERT_EQ(Load(), 1);
  EXPECT_TRUE(windows_.sum_red);
}

TEST_F(LoadPipelineTest, LoadFileClickFollowsTheDialogsHandBack) {
  const std::string file = File("a.bin", std::string(16, '\x07'));
  // The dialog refuses to open without a device: nothing happens.
  windows_.on_load_dialog = [] { return false; };
  EXPECT_FALSE(LoadFileClick(*context_));
  // Cancel.
  windows_.on_load_dialog = [&] {
    History().WriteString("LoadDlg", "OK", "0");
    return true;
  };
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_FALSE(History().SectionExists("CommonParameterSet"));

  windows_.load_path = "0";
  windows_.on_load_dialog = [&] {
    Dialog(file, 0, 15, kLoadBinary);
    windows_.show_summary = true;
    return true;
  };
  EXPECT_TRUE(LoadFileClick(*context_));
  EXPECT_EQ(windows_.preset, std::optional<std::string>("0"));
  EXPECT_EQ(windows_.load_path, file);
  EXPECT_EQ(History().ReadString("CommonParameterSet", "CommonDataSelect", ""), "0");
  EXPECT_EQ(buffer_.Bytes()[15], 7);
  EXPECT_EQ(windows_.summaries_shown, 1);
  EXPECT_FALSE(windows_.show_summary);

  // Cancelled where its OK := "0" could not be written: the "1" of the load
  // before is not replayed over the buffer.
  buffer_.Bytes()[15] = 0;
  windows_.on_load_dialog = [] { return false; };
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_EQ(buffer_.Bytes()[15], 0);
}

TEST_F(LoadPipelineTest, FileErrorsOfTheRangeReader) {
  Dialog(Path("missing.bin"), 0, 15, kLoadBinary);
  EXPECT_FALSE(LoadFileClick(*context_));
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text, "Format Error !");
  EXPECT_EQ(messages_.boxes[0].caption, "");

  messages_.boxes.clear();
  Dialog("NULL", 0, 15, kLoadBinary);
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_TRUE(messages_.boxes.empty());

  // A format that is not a number ends in the error display.
  Dialog(File("a.bin", "abc"), 0, 2, kLoadBinary);
  History().WriteString("LoadDlg", "Format", "four");
  EXPECT_FALSE(LoadFileClick(*context_));
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_EQ(messages_.errors[0], "'four' is not a valid integer value");
}

// A FIFO, a device node and a folder are no data files: the reader, the
// existence and length checks and the format preset refuse them at once. A
// FIFO opened for reading would wait for a writer, so the work runs apart
// and, should it wait, is released by opening the FIFO's other end.
TEST_F(LoadPipelineTest, NonRegularFilesAreRefusedAtOnce) {
  const std::string fifo = Path("pipe.hex");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directories(dir_ / "folder.bin");
  for (const std::string& name : {fifo, Path("folder.bin"), std::string("/dev/null")}) {
    SCOPED_TRACE(name);
    messages_.boxes.clear();
    Dialog(name, 0, 15, kLoadAutoDetect);
    int loaded = -1;
    EXPECT_FALSE(testing::WaitedForAWriter({name}, [&] {
      EXPECT_FALSE(CanOpenForReading(name));
      EXPECT_EQ(GetFileLength(name), 0u);
      EXPECT_EQ(ReadFileBytes(name, 0, 15).status, FileRangeRead::Status::CannotOpen);
      EXPECT_EQ(DetectFileFormat(Path("History_1.ini")), kLoadAutoDetect);
      loaded = Load();
    })) << "the read waited for a writer";
    EXPECT_EQ(loaded, 0);
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0].text, "Format Error !");
    EXPECT_EQ(messages_.boxes[0].caption, "");
  }
}

class FakePic : public PicLoadHooks {
 public:
  std::optional<uint32_t> CounterPICcheckSum(DataBuffer&, const std::string& ic_ini, uint64_t,
                                             uint16_t& word) override {
    ini = ic_ini;
    if (sum) word = 0x3FF1;
    return sum;
  }
  void PICConfiguerationDecode(const DataBuffer&, const std::string& ic_ini,
                               uint16_t word) override {
    EXPECT_EQ(ic_ini, ini);  // the file the sum read
    decoded.push_back(word);
  }
  std::string ini;
  std::optional<uint32_t> sum = 0xABCD;
  std::vector<uint16_t> decoded;
};

TEST_F(LoadPipelineTest, PicDevicesTakeTheirOwnSumAfterASuccessfulLoad) {
  std::filesystem::create_directories(dir_ / "INI");
  testing::WriteFile(dir_ / "INI" / "PIC16.ini", "[SysInformation]\r\nToCountPICsumFlag=1\r\n");
  History().WriteString("SelectDlg", "IcFileName", paths_->root() + "INI\\PIC16.ini");
  FakePic pic;
  LoadSaveContext context{buffer_, state_, *paths_, messages_, progress_, windows_, &pic};
  const std::string good = File("a.bin", "abcd");
  windows_.on_load_dialog = [&] {
    Dialog(good, 0, 3, kLoadBinary);
    return true;
  };
  EXPECT_TRUE(LoadFileClick(context));
  EXPECT_EQ(pic.ini, Path("INI/PIC16.ini"));
  EXPECT_EQ(pic.decoded, std::vector<uint16_t>{0x3FF1});
  EXPECT_EQ(buffer_.SumValue(), 0xABCDu);
  // The field shows the PIC sum, not the device sum, and is red for it.
  EXPECT_EQ(windows_.sum_text, "0000ABCD");
  EXPECT_TRUE(windows_.sum_red);
  EXPECT_EQ(state_.LastChecksum, 0xABCD);
  EXPECT_TRUE(messages_.boxes.empty());  // no detection report on this path
  EXPECT_TRUE(LoadFileClick(context));
  EXPECT_FALSE(windows_.sum_red);

  // A refused sum: 0 is shown and nothing is decoded.
  pic.sum.reset();
  EXPECT_TRUE(LoadFileClick(context));
  EXPECT_EQ(buffer_.SumValue(), 0u);
  EXPECT_EQ(windows_.sum_text, "00000000");
  EXPECT_TRUE(windows_.sum_red);
  pic.sum = 0xABCD;

  // A failed load computes nothing for data that is not there.
  windows_.on_load_dialog = [&] {
    Dialog(good, 0, 3, kLoadDosExe);
    return true;
  };
  EXPECT_FALSE(LoadFileClick(context));
  EXPECT_EQ(pic.decoded.size(), 2u);
}

// The sample PIC-like device through the whole load: its own sum shown, the
// ID words and the decoded configuration recorded.
TEST_F(LoadPipelineTest, PicDeviceOfTheSampleLibrary) {
  std::filesystem::create_directories(dir_ / "INI");
  std::filesystem::copy_file(QUENLET_LIBRARY "/INI/QDP-14.ini", dir_ / "INI" / "QDP-14.ini");
  History().WriteString("SelectDlg", "IcFileName", paths_->root() + "INI\\QDP-14.ini");
  PicSumHooks pic(*paths_, messages_);
  LoadSaveContext context{buffer_, state_, *paths_, messages_, progress_, windows_, &pic};
  const std::string hex = File("qdp.hex",
                               ":020000008A0173\r\n"
                               ":084000000A000B000C000D008A\r\n"  // ID words
                               ":02400E00723FFF\r\n"              // configuration 3F72
                               ":00000001FF\r\n");
  windows_.on_load_dialog = [&] {
    Dialog(hex, 0, 200, kLoadIntelHex);
    return true;
  };
  ASSERT_TRUE(LoadFileClick(context));
  // 2047 unused words filled with FF and masked to 3FFF, word 0, the
  // configuration word.
  const uint32_t sum = 2047u * 0x3FFF + 0x018A + 0x3F72;
  EXPECT_EQ(buffer_.SumValue(), sum);
  EXPECT_EQ(windows_.sum_text, strprintf("%08X", sum));
  const IniFile h = History();
  EXPECT_EQ(h.ReadString("PICConfiguration", "IDCODE1", ""), "0A");
  EXPECT_EQ(h.ReadString("PICConfiguration", "OSCSelect", ""), "5");
  EXPECT_EQ(h.ReadString("PICConfiguration", "ProtectSelectItem", ""), "1");
  EXPECT_TRUE(messages_.boxes.empty());

  // A configuration word the file does not reach: refused, nothing decoded.
  IniFile(Path("INI/QDP-14.ini")).WriteString("PIC_SUM", "CON_POS", "0x7FFFFF");
  History().EraseSection("PICConfiguration");
  ASSERT_TRUE(LoadFileClick(context));
  EXPECT_EQ(buffer_.SumValue(), 0u);
  EXPECT_EQ(windows_.sum_text, "00000000");
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].caption, "CounterPICcheckSum()");
  EXPECT_FALSE(History().SectionExists("PICConfiguration"));
}

TEST_F(LoadPipelineTest, DetectFileFormatOnlyReads) {
  Dialog(File("a.hex", ":0400000001020304F2\r\n"), 0, 20, kLoadAutoDetect);
  const uint32_t size = buffer_.BufSize();
  EXPECT_EQ(DetectFileFormat(Path("History_1.ini")), kLoadIntelHex);
  EXPECT_EQ(buffer_.BufSize(), size);
  Dialog(File("b.bin", "abc"), 0, 2, kLoadAutoDetect);
  EXPECT_EQ(DetectFileFormat(Path("History_1.ini")), kLoadAutoDetect);
}

}  // namespace
}  // namespace quenlet
