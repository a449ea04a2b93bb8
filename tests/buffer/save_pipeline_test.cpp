#include "buffer/save_pipeline.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "buffer/data_buffer.h"
#include "buffer/load_pipeline.h"
#include "format_test_support.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

class SaveTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    buffer_.SetHistoryIniPath(Path("History_1.ini"));
    for (size_t i = 0; i < buffer_.BufSize(); ++i) buffer_.Bytes()[i] = static_cast<uint8_t>(i);
  }
  void Dialog(const std::string& name, int64_t first, int64_t last, int32_t format) {
    IniFile h(Path("History_1.ini"));
    h.WriteString("SaveDlg", "Name", name);
    h.WriteInteger("SaveDlg", "SourceSAdd", static_cast<int32_t>(first));
    h.WriteInteger("SaveDlg", "SourceEAdd", static_cast<int32_t>(last));
    h.WriteInteger("SaveDlg", "Format", format);
    h.WriteString("SaveDlg", "OK", "1");
  }
  bool NoTemporaryFiles() const {
    for (const auto& e : fs::directory_iterator(dir_)) {
      if (e.path().filename().string().find(".tmp") != std::string::npos) return false;
    }
    return true;
  }

  DataBuffer buffer_;
  testing::FakeMessages messages_;
  NullProgress progress_;
};

TEST_F(SaveTest, FormatCodesChooseTheWriter) {
  struct Row {
    int32_t format;
    const char* start;
  };
  for (const Row& row : {Row{0, "\x10\x11"}, Row{9, "\x10\x11"}, Row{1, ":20000000101112"},
                         Row{2, "S0030000FC\r\nS1130000"}, Row{3, "S0030000FC\r\nS214000000"},
                         Row{4, "S0030000FC\r\nS31500000000"}, Row{5, "/00001001101112"}}) {
    SCOPED_TRACE(row.format);
    const std::string file = Path("out" + std::to_string(row.format));
    Dialog(file, 0x10, 0x2F, row.format);
    ASSERT_EQ(SaveBuffer(buffer_, messages_, progress_), 1);
    const std::string text = testing::ReadFile(file);
    EXPECT_EQ(text.substr(0, std::string(row.start).size()), row.start);
    if (row.format == 0 || row.format == 9) {
      EXPECT_EQ(text.size(), 0x20u);
    }
  }
  EXPECT_TRUE(messages_.boxes.empty());
}

TEST_F(SaveTest, PaddingAtTheBuffersEndReadsItsSlackOnly) {
  const int64_t last = buffer_.BufSize() - 1;
  Dialog(Path("end.hex"), last, last, kSaveIntelHex);
  ASSERT_EQ(SaveBuffer(buffer_, messages_, progress_), 1);
  EXPECT_EQ(testing::Lines(testing::ReadFile(Path("end.hex"))).size(), 2u);
}

TEST_F(SaveTest, RefusedRangesAndFormatsWriteNothing) {
  struct Row {
    int64_t first, last;
    int32_t format;
    const char* text;
  };
  const int64_t size = buffer_.BufSize();
  ASSERT_TRUE(buffer_.ResizeBuffer(0x20000, messages_));
  for (const Row& row :
       {Row{0, size + 0x20000, kSaveBinary, "Range Error!!"},
        Row{0x10, 0x0F, kSaveBinary, "Range Error!!"}, Row{-1, 4, kSaveBinary, "Range Error!!"},
        Row{0, 0x10000, kSaveMotorolaS1,
            "File Too Big for Motorola S1,\nPlease Select other Format."},
        Row{0, 0x10000, kSaveTektronix,
            "File Too Big for Tektlonix Format,\nPlease Select other Format."}}) {
    messages_.boxes.clear();
    Dialog(Path("refused"), row.first, row.last, row.format);
    EXPECT_EQ(SaveBuffer(buffer_, messages_, progress_), 0);
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0].text, row.text);
    EXPECT_EQ(messages_.boxes[0].caption, "SAVE");
    EXPECT_FALSE(fs::exists(Path("refused")));
  }
  // The largest ranges the formats hold are taken.
  Dialog(Path("s1"), 0, 0xFFFF, kSaveMotorolaS1);
  EXPECT_EQ(SaveBuffer(buffer_, messages_, progress_), 1);
  EXPECT_TRUE(NoTemporaryFiles());
}

// A write that fails half-way (here: past the file size limit) leaves the
// previous file as it was and no temporary file behind, and says so.
TEST_F(SaveTest, FailedSaveKeepsThePreviousFile) {
  ASSERT_TRUE(buffer_.ResizeBuffer(0x40000, messages_));
  for (int32_t format : {kSaveBinary, kSaveIntelHex}) {
    SCOPED_TRACE(format);
    const std::string file = Path("keep.bin");
    testing::WriteFile(file, "previous contents");
    Dialog(file, 0, 0x3FFFF, format);

    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 0x10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t result = SaveBuffer(buffer_, messages_, progress_);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(testing::ReadFile(file), "previous contents");
    EXPECT_TRUE(NoTemporaryFiles());
    ASSERT_FALSE(messages_.boxes.empty());
    EXPECT_NE(messages_.boxes.back().text.find("File write error !"), std::string::npos);
    EXPECT_NE(messages_.boxes.back().text.find(file), std::string::npos);
  }
  // A folder that does not exist is reported the same way.
  messages_.boxes.clear();
  Dialog(Path("no/such/folder.hex"), 0, 15, kSaveIntelHex);
  EXPECT_EQ(SaveBuffer(buffer_, messages_, progress_), 0);
  ASSERT_EQ(messages_.boxes.size(), 1u);
}

TEST_F(SaveTest, SaveFileClickSavesOnlyAfterOk) {
  MainFormState state;
  ProgramPaths paths(dir_.string());
  testing::FakeLoadSaveWindows windows;
  LoadSaveContext context{buffer_, state, paths, messages_, progress_, windows};
  windows.on_save_dialog = [&] {
    Dialog(Path("a.bin"), 0, 3, kSaveBinary);
    IniFile(Path("History_1.ini")).WriteString("SaveDlg", "OK", "0");
  };
  EXPECT_FALSE(SaveFileClick(context));
  EXPECT_FALSE(fs::exists(Path("a.bin")));
  windows.on_save_dialog = [&] { Dialog(Path("a.bin"), 0, 3, kSaveBinary); };
  EXPECT_TRUE(SaveFileClick(context));
  EXPECT_EQ(testing::ReadFile(Path("a.bin")), std::string("\x00\x01\x02\x03", 4));

  // Cancelled where its OK := "0" could not be written: the save before is
  // not replayed.
  fs::remove(Path("a.bin"));
  windows.on_save_dialog = nullptr;
  windows.save_confirmed = false;
  EXPECT_FALSE(SaveFileClick(context));
  EXPECT_FALSE(fs::exists(Path("a.bin")));
}

}  // namespace
}  // namespace quenlet
