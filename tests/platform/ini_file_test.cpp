#include "platform/ini_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include <filesystem>

#include "support/temp_dir.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    path_ = Path("t.ini");
  }

  void Write(const std::string& text) { testing::WriteFile(path_, text); }
  std::string Contents() const { return testing::ReadFile(path_); }

  std::string path_;
};

TEST_F(IniFileTest, ReadsByPrivateProfileRules) {
  Write(
      "top=ignored\r\n"
      "[VK_KZExternValue]\r\n"
      "  Data_Width =  0x00FF  \r\n"
      "max_address_Low=8191\r\n"
      "MAX_ADDRESS_LOW=1\r\n"
      "empty=\r\n"
      "; comment=1\r\n"
      "quoted=\"a b\"\r\n"
      "[other]\n"
      "key=lf-only\n"
      "[vk_kzexternvalue]\n"
      "late=second-section\n");
  IniFile ini(path_);
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"VK_KZExternValue", "Data_Width", "0x00FF"},     // blanks trimmed
      {"vk_kzEXTERNvalue", "data_width", "0x00FF"},     // case ignored
      {"VK_KZExternValue", "max_address_low", "8191"},  // first key wins
      {"VK_KZExternValue", "empty", ""},                // present but empty
      {"VK_KZExternValue", "; comment", "dflt"},        // comments are not keys
      {"VK_KZExternValue", "quoted", "a b"},            // one pair of quotes stripped
      {"VK_KZExternValue", "late", "dflt"},             // first section wins
      {"other", "key", "lf-only"},                      // LF line ends
      {"missing", "key", "dflt"},
      {"VK_KZExternValue", "top", "dflt"},  // lines before any section
  };
  for (const auto& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "dflt"), c.expected) << c.key;
  EXPECT_EQ(ini.ReadInteger("VK_KZExternValue", "Data_Width", -1), 0xFF);
  EXPECT_EQ(ini.ReadInteger("VK_KZExternValue", "empty", -1), -1);
  EXPECT_EQ(ini.ReadSection("VK_KZExternValue"),
            (std::vector<std::string>{"Data_Width", "max_address_Low", "empty", "quoted"}));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"VK_KZExternValue", "other"}));
  EXPECT_TRUE(ini.SectionExists("OTHER"));
}

TEST_F(IniFileTest, AByteOrderMarkIsSkippedAndKept) {
  Write("\xEF\xBB\xBF[ITEM]\r\nValue=2\r\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadString("ITEM", "Value", "none"), "2");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"ITEM"}));
  ASSERT_TRUE(ini.WriteString("ITEM", "Next", "3"));
  EXPECT_EQ(Contents(), "\xEF\xBB\xBF[ITEM]\r\nValue=2\r\nNext=3\r\n");
}

TEST_F(IniFileTest, MissingFileReadsAsEmpty) {
  IniFile ini((dir_ / "nothing.ini").string());
  EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
  EXPECT_EQ(ini.ReadInteger("s", "k", 5), 5);
  EXPECT_TRUE(ini.ReadSections().empty());

  // A pipe of that name has no writer: reading it must not wait for one.
  const std::string fifo = (dir_ / "pipe.ini").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(IniFile(fifo).ReadString("s", "k", "d"), "d");
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineAndUseCrLf) {
  Write(
      "; settings\n"
      "[System]\n"
      "Type=0\n"
      "Keep = as written \n"
      "\n"
      "[SelectDlg]\r\n"
      "ProcessMode=+E+P\r\n");
  IniFile ini(path_);
  ASSERT_TRUE(ini.WriteString("system", "TYPE", "1"));   // existing key, other case
  ASSERT_TRUE(ini.WriteInteger("System", "Added", -3));  // new key in a section
  ASSERT_TRUE(ini.WriteString("LoadDlg", "OK", "1"));    // new section
  EXPECT_EQ(Contents(),
            "; settings\r\n"
            "[System]\r\n"
            "Type=1\r\n"
            "Keep = as written \r\n"
            "Added=-3\r\n"
            "\r\n"
            "[SelectDlg]\r\n"
            "ProcessMode=+E+P\r\n"
            "[LoadDlg]\r\n"
            "OK=1\r\n");
  EXPECT_EQ(ini.ReadInteger("System", "Added", 0), -3);
}

TEST_F(IniFileTest, WritesRefuseTextThatWouldNotReadBack) {
  const std::string before = "[LoadDlg]\r\nName=old.bin\r\n[Option]\r\nsound_setup=1\r\n";
  const struct {
    const char* what;
    std::string section, key, value;
  } cases[] = {
      // A file name with a line feed would plant a section of its own.
      {"LF in a value", "LoadDlg", "Name", "x\n[Option]\nsound_setup=abc"},
      {"CR in a value", "LoadDlg", "Name", "a\rb"},
      {"NUL in a value", "LoadDlg", "Name", std::string("a\0b", 3)},
      {"LF in a key", "LoadDlg", "Na\nme", "v"},
      {"NUL in a key", "LoadDlg", std::string("N\0", 2), "v"},
      {"CR in a section", "New\r", "k", "v"},
      {"NUL in a section", std::string("N\0w", 3), "k", "v"},
      {"= in a key", "LoadDlg", "a=b", "v"},
      {"key starting with [", "LoadDlg", "[Option]", "v"},
      {"key starting with ;", "LoadDlg", ";Name", "v"},
      {"blank before a key", "LoadDlg", " Name", "v"},
      {"blank after a key", "LoadDlg", "Name\t", "v"},
      {"blank around a section", " LoadDlg", "Name", "v"},
      {"] in a section", "Option]x", "k", "v"},
  };
  for (const auto& c : cases) {
    Write(before);
    IniFile ini(path_);
    EXPECT_FALSE(IniFile::CanWrite(c.section, c.key, c.value)) << c.what;
    EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(Contents(), before) << c.what;
  }
  EXPECT_EQ(IniFile(path_).ReadString("Option", "sound_setup", "?"), "1");
  EXPECT_TRUE(IniFile::CanWrite("LoadDlg", "Name", "C:\\x y;[z]=w"));
}

TEST_F(IniFileTest, ValuesThatReadsWouldChangeAreWrittenInQuotes) {
  const struct {
    std::string value;
    const char* line;  // as the file holds it
  } cases[] = {
      {" a.bin", "k=\" a.bin\""}, {"b.bin  ", "k=\"b.bin  \""},
      {"\tc", "k=\"\tc\""},       {"'c'", "k=\"'c'\""},
      {"\"d\"", "k=\"\"d\"\""},   {"\"", "k=\""},  // one quote alone is not a pair
      {"\"e", "k=\"e"},           {"f'", "k=f'"},
      {"a b", "k=a b"},           {"", "k="},
  };
  for (const auto& c : cases) {
    Write("[s]\r\nk=old\r\n");
    IniFile ini(path_);
    ASSERT_TRUE(ini.WriteString("s", "k", c.value)) << c.line;
    EXPECT_EQ(Contents(), std::string("[s]\r\n") + c.line + "\r\n");
    EXPECT_EQ(ini.ReadString("s", "k", "?"), c.value) << c.line;
  }
}

TEST_F(IniFileTest, ABatchReadsAsTheSameWritesOneByOne) {
  const std::string start =
      "; keep\r\n[System]\r\nType=0\r\n\r\n[Option]\r\nsound_setup=1\r\n[system]\r\nlate=1\r\n";
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } entries[] = {
      {"system", "TYPE", "1"},         // existing key, other case
      {"System", "Added", "-3"},       // new key of a section
      {"Page0", "Com1", " padded "},   // new section; quoted value
      {"page0", "Com2", "x"},          // the section the batch made, other case
      {"System", "Added", "7"},        // a later entry for a key wins
      {"Option", "sound_setup", "0"},  // another existing section
      {"SYSTEM", nullptr, nullptr},    // both [System] sections erased ...
      {"System", "Fresh", "1"},        // ... and written anew
  };
  IniBatch batch;
  const std::string one_by_one = Path("one_by_one.ini");
  testing::WriteFile(one_by_one, start);
  for (const auto& e : entries) {
    if (!e.key) {
      batch.EraseSection(e.section);
      ASSERT_TRUE(IniFile(one_by_one).EraseSection(e.section));
      continue;
    }
    batch.WriteString(e.section, e.key, e.value);
    ASSERT_TRUE(IniFile(one_by_one).WriteString(e.section, e.key, e.value));
  }
  Write(start);
  IniFile ini(path_);
  ASSERT_TRUE(ini.Write(batch));
  EXPECT_EQ(Contents(), testing::ReadFile(one_by_one));
  EXPECT_EQ(ini.ReadInteger("System", "Added", 0), 0);
  EXPECT_EQ(ini.ReadInteger("System", "Fresh", 0), 1);
  EXPECT_EQ(ini.ReadString("system", "late", "gone"), "gone");
  EXPECT_EQ(ini.ReadString("PAGE0", "Com1", ""), " padded ");

  // One refused entry: nothing of the batch is written.
  const std::string before = Contents();
  batch.WriteString("LoadDlg", "Name", "a\nb");
  EXPECT_FALSE(batch.CanWrite());
  EXPECT_FALSE(ini.Write(batch));
  EXPECT_EQ(Contents(), before);

  // Nothing to write: no file is made.
  EXPECT_TRUE(IniFile(Path("none.ini")).Write(IniBatch()));
  IniBatch erase_only;
  erase_only.EraseSection("History");
  EXPECT_TRUE(IniFile(Path("none.ini")).Write(erase_only));
  EXPECT_FALSE(fs::exists(Path("none.ini")));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey) {
  Write("[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n[A]\r\nw=4\r\n");
  IniFile ini(path_);
  ASSERT_TRUE(ini.DeleteKey("a", "Y"));
  EXPECT_EQ(Contents(), "[a]\r\nx=1\r\n[b]\r\nz=3\r\n[A]\r\nw=4\r\n");
  ASSERT_TRUE(ini.EraseSection("a"));
  EXPECT_EQ(Contents(), "[b]\r\nz=3\r\n");
}

TEST_F(IniFileTest, FailedWriteLeavesTheFileAsItWas) {
  Write("[s]\r\nk=old\r\n");
  // A file-size limit makes the write of the new contents fail part-way (as a
  // full disk would), whoever runs the test.
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 8;
  ::setrlimit(RLIMIT_FSIZE, &small);
  IniFile ini(path_);
  bool wrote = ini.WriteString("s", "k", "a much longer new value");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(Contents(), "[s]\r\nk=old\r\n");
  for (const auto& e : fs::directory_iterator(dir_)) EXPECT_EQ(e.path().filename(), "t.ini");
}

// Writers killed part-way leave their temporary files; the next write of the
// same file removes them, but not one a live writer holds, nor other files.
TEST_F(IniFileTest, AWriteRemovesTheTemporaryFilesOfWritersThatDied) {
  Write("[s]\r\nk=old\r\n");
  for (const char* name : {"t.ini.tmpAb12Cd", "t.ini.tmp000000", "t.ini.tmpLive01", "t.ini.tmp",
                           "t.ini.tmpAb12Cd.keep", "u.ini.tmpAb12Cd", "t.ini.tmp-_.123"}) {
    testing::WriteFile(Path(name), "part of a file");
  }
  // A writer still at work holds the lock on its file.
  const int live = ::open(Path("t.ini.tmpLive01").c_str(), O_RDONLY);
  ASSERT_GE(live, 0);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  ASSERT_TRUE(IniFile(path_).WriteString("s", "k", "new"));
  ::close(live);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(dir_)) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"t.ini", "t.ini.tmp", "t.ini.tmp-_.123",
                                            "t.ini.tmpAb12Cd.keep", "t.ini.tmpLive01",
                                            "u.ini.tmpAb12Cd"}));
  EXPECT_EQ(Contents(), "[s]\r\nk=new\r\n");
}

TEST_F(IniFileTest, WriteIntoMissingFolderFails) {
  IniFile ini((dir_ / "no" / "such.ini").string());
  EXPECT_FALSE(ini.WriteString("s", "k", "v"));
}

}  // namespace
}  // namespace quenlet
