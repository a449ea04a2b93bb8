#include "buffer/extend_pro.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/load_pipeline.h"
#include "format_test_support.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

class ExtendProTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    paths_ = std::make_unique<ProgramPaths>(dir_.string());
    buffer_.SetHistoryIniPath(Path("History_1.ini"));
    fs::create_directories(dir_ / "INI");
    fs::create_directories(dir_ / "ExtPro");
    stored_ic_ini_ = paths_->root() + "INI\\Dev.ini";
    IniFile(Path("History_1.ini")).WriteString("SelectDlg", "IcFileName", stored_ic_ini_);
  }

  void Device(const std::string& have, const std::string& name) {
    std::string text = "[ExtendPro]\r\nHaveExtendPro=" + have + "\r\n";
    if (!name.empty()) text += "ExtendProName=" + name + "\r\n";
    testing::WriteFile(dir_ / "INI" / "Dev.ini", text);
  }

  // A plug-in that records its arguments and open descriptors, then ends.
  void Plugin(const std::string& name, mode_t mode = 0755) {
    const fs::path path = dir_ / "ExtPro" / name;
    testing::WriteFile(path,
                       "#!/bin/sh\n"
                       "d=$(dirname \"$0\")\n"
                       "ls /proc/$$/fd > \"$d/fds.tmp\"\n"
                       "echo \"$#\" > \"$d/args.tmp\"\n"
                       "mv \"$d/fds.tmp\" \"$d/fds\"; mv \"$d/args.tmp\" \"$d/args\"\n");
    ::chmod(path.c_str(), mode);
  }

  int32_t Run() { return RunExtendPro(buffer_, *paths_, messages_, 0x1234, 4); }

  static bool WaitFor(const fs::path& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return fs::exists(path);
  }

  DataBuffer buffer_;
  std::unique_ptr<ProgramPaths> paths_;
  testing::FakeMessages messages_;
  std::string stored_ic_ini_;
};

TEST_F(ExtendProTest, StartsThePluginWithTheHandOverFile) {
  Device("1", "PLUGIN.SH");  // names match without regard to case
  Plugin("plugin.sh");
  // A descriptor this program holds open must not reach the plug-in.
  const int held = ::open(Path("History_1.ini").c_str(), O_RDONLY);
  ASSERT_GE(held, 3);
  const int32_t result = Run();
  ::close(held);
  ASSERT_EQ(result, 1) << (messages_.boxes.empty() ? "" : messages_.boxes[0].text);
  EXPECT_TRUE(messages_.boxes.empty());

  IniFile dde(Path("DDEFile.ini"));
  EXPECT_EQ(dde.ReadInteger("Action", "ActionFlag", 0), 4);
  EXPECT_EQ(dde.ReadString("Action", "ININame", ""), stored_ic_ini_);
  EXPECT_EQ(dde.ReadInteger("MainSys", "MainHandle", 0), 0x1234);

  ASSERT_TRUE(WaitFor(dir_ / "ExtPro" / "args"));
  EXPECT_EQ(testing::ReadFile(dir_ / "ExtPro" / "args"), "0\n");
  const std::string fds = testing::ReadFile(dir_ / "ExtPro" / "fds");
  EXPECT_EQ(fds.find("\n" + std::to_string(held) + "\n"), std::string::npos) << fds;
}

TEST_F(ExtendProTest, RefusedNamesAndMissingPlugins) {
  struct Row {
    std::string have;
    std::string name;
    int32_t result;
    const char* text_part;
    const char* caption;
  };
  Plugin("real.sh");
  fs::create_directories(dir_ / "ExtPro" / "sub");
  Plugin("sub/inner.sh");
  Plugin("not_executable.sh", 0644);
  for (const Row& row : {
           Row{"0", "real.sh", 0, nullptr, nullptr},
           Row{"1", "", -1, "[ExtendPro]-ExtendProName item error", "INI file error"},
           Row{"1", "NONE", -1, "[ExtendPro]-ExtendProName item error", "INI file error"},
           Row{"1", "../INI/Dev.ini", -1, "\"../INI/Dev.ini\" is not a file name",
               "INI file error"},
           Row{"1", "sub/inner.sh", -1, "is not a file name", "INI file error"},
           Row{"1", "sub\\inner.sh", -1, "is not a file name", "INI file error"},
           Row{"1", "..", -1, "is not a file name", "INI file error"},
           Row{"1", "absent.sh", -1, "Run external plugin fail !", "ERROR"},
           Row{"1", "sub", -1, "Run external plugin fail !", "ERROR"},
           Row{"1", "not_executable.sh", -1, "Run external plugin fail !", "ERROR"},
       }) {
    SCOPED_TRACE(row.name);
    messages_.boxes.clear();
    Device(row.have, row.name);
    EXPECT_EQ(Run(), row.result);
    if (!row.text_part) {
      EXPECT_TRUE(messages_.boxes.empty());
      continue;
    }
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_NE(messages_.boxes[0].text.find(row.text_part), std::string::npos)
        << messages_.boxes[0].text;
    EXPECT_EQ(messages_.boxes[0].caption, row.caption);
  }
  EXPECT_FALSE(fs::exists(dir_ / "ExtPro" / "args"));
}

TEST_F(ExtendProTest, ADeviceNameTheHandOverCannotHoldIsReported) {
  Device("1", "plugin.sh");
  Plugin("plugin.sh");
  // The name still opens the device file (the system stops at the NUL), but
  // DDEFile.ini cannot carry it.
  testing::WriteFile(dir_ / "History_1.ini", "[SelectDlg]\r\nIcFileName=" + stored_ic_ini_ +
                                                 std::string(1, '\0') + "x\r\n");
  EXPECT_EQ(Run(), -1);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_NE(messages_.boxes[0].text.find("The device file name cannot be written to"),
            std::string::npos)
      << messages_.boxes[0].text;
  EXPECT_FALSE(fs::exists(dir_ / "DDEFile.ini"));
}

TEST_F(ExtendProTest, TheSystemFolderComesFromTheHistory) {
  fs::create_directories(dir_ / "Tools" / "ExtPro");
  testing::WriteFile(dir_ / "Tools" / "ExtPro" / "p.sh",
                     "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
  ::chmod((dir_ / "Tools" / "ExtPro" / "p.sh").c_str(), 0755);
  Device("1", "p.sh");
  IniFile(Path("History_1.ini")).WriteString("System", "Path", paths_->root() + "tools");
  ASSERT_EQ(Run(), 1);
  EXPECT_TRUE(fs::exists(dir_ / "Tools" / "DDEFile.ini"));
  EXPECT_TRUE(WaitFor(dir_ / "Tools" / "ExtPro" / "ran"));
}

TEST_F(ExtendProTest, StartedAfterALoadForDevicesThatHaveOne) {
  Device("1", "plugin.sh");
  Plugin("plugin.sh");
  MainFormState state;
  NullProgress progress;
  testing::FakeLoadSaveWindows windows;
  LoadSaveContext context{buffer_, state, *paths_, messages_, progress, windows};
  testing::WriteFile(dir_ / "a.bin", "abcd");
  windows.on_load_dialog = [&] {
    IniFile h(Path("History_1.ini"));
    h.WriteString("LoadDlg", "Name", Path("a.bin"));
    h.WriteInteger("LoadDlg", "SourceEAdd", 3);
    h.WriteString("LoadDlg", "OK", "1");
    buffer_.SetFileFormat(kLoadBinary);
    return true;
  };
  ASSERT_TRUE(LoadFileClick(context));
  EXPECT_EQ(buffer_.ExtProRan(), 1);
  EXPECT_TRUE(WaitFor(dir_ / "ExtPro" / "args"));
}

}  // namespace
}  // namespace quenlet
