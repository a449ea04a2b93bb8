#include "platform/ini_snapshot.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

class IniSnapshotTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    path_ = Path("Select.ini");
  }
  void Write(const std::string& text) { testing::WriteFile(path_, text); }

  // Sets the file's modification time, leaving everything else as it is.
  void SetModified(const struct timespec& when) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
  }
  struct timespec Modified() const {
    struct stat st {};
    ::stat(path_.c_str(), &st);
    return st.st_mtim;
  }
  // Overwrites bytes of the file where they stand (same file, same inode).
  void Patch(off_t at, const std::string& bytes) {
    const int fd = ::open(path_.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
  }

  std::string path_;
};

std::string Upper(std::string text) {
  for (char& c : text) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  return text;
}

// Every answer of the snapshot is the INI object's answer on the same file.
TEST_F(IniSnapshotTest, AnswersAsTheIniObjectDoes) {
  Write(
      "\xEF\xBB\xBF"
      "top=before any section\r\n"
      "[Main]\r\n"
      "  Key = 0x1F  \r\n"
      "KEY=second\r\n"
      "quoted=\"a b\"\r\n"
      "single=' c '\r\n"
      "; note=1\r\n"
      "empty=\r\n"
      "bare line\r\n"
      "=no key\r\n"
      "  [ Spaced ] tail\n"
      "x=1\n"
      "[main]\n"
      "late=1\n"
      "[\xA4\x41]\n"  // a Big5 character whose second byte is an ASCII letter
      "k=big5 A\n"
      "[\xA4\x61]\n"  // another character, not another case of it
      "k=big5 a\n"
      "[Unclosed\n"
      "u=1\n"
      "[Empty]\n");
  const IniFile file(path_);
  const IniSnapshot snapshot(path_);
  ASSERT_EQ(snapshot.ReadSections(), file.ReadSections());
  EXPECT_EQ(snapshot.ReadSections(), (std::vector<std::string>{"Main", "Spaced", "\xA4\x41",
                                                               "\xA4\x61", "Unclosed", "Empty"}));
  std::vector<std::string> sections = file.ReadSections();
  sections.push_back("MAIN");
  sections.push_back("missing");
  for (const std::string& section : sections) {
    SCOPED_TRACE(section);
    EXPECT_EQ(snapshot.SectionExists(section), file.SectionExists(section));
    EXPECT_EQ(snapshot.ReadSection(section), file.ReadSection(section));
    std::vector<std::string> keys = file.ReadSection(section);
    for (const char* extra : {"late", "top", "; note", "missing", ""}) keys.push_back(extra);
    const size_t listed = keys.size();
    for (size_t i = 0; i < listed; ++i) keys.push_back(Upper(keys[i]));
    for (const std::string& key : keys) {
      EXPECT_EQ(snapshot.ReadString(section, key, "<none>"),
                file.ReadString(section, key, "<none>"))
          << key;
      EXPECT_EQ(snapshot.ReadInteger(section, key, -1), file.ReadInteger(section, key, -1)) << key;
    }
  }
  // A few answers spelled out, so that both cannot be wrong alike.
  EXPECT_EQ(snapshot.ReadString("main", "key", ""), "0x1F");
  EXPECT_EQ(snapshot.ReadInteger("MAIN", "KEY", -1), 31);
  EXPECT_EQ(snapshot.ReadString("Main", "single", ""), " c ");
  EXPECT_EQ(snapshot.ReadString("Main", "", ""), "no key");
  EXPECT_EQ(snapshot.ReadString("\xA4\x61", "k", ""), "big5 a");
  EXPECT_EQ(snapshot.Find("Main", "late"), std::nullopt);
}

TEST_F(IniSnapshotTest, ASectionThatOccursAgainIsMergedOnlyWhenAsked) {
  Write("[A]\r\nx=1\r\n[B]\r\nb=1\r\n[a]\r\nx=2\r\ny=3\r\n[b]\r\nc=4\r\n");
  const IniSnapshot first(path_);
  EXPECT_EQ(first.ReadString("A", "y", "-"), "-");
  EXPECT_EQ(first.ReadSection("A"), (std::vector<std::string>{"x"}));

  const IniSnapshot merged(path_, DuplicateSections::kMerged);
  EXPECT_EQ(merged.ReadString("A", "x", "-"), "1");  // the first key still wins
  EXPECT_EQ(merged.ReadString("a", "y", "-"), "3");
  EXPECT_EQ(merged.ReadString("B", "c", "-"), "4");
  EXPECT_EQ(merged.ReadString("B", "b", "-"), "1");
  EXPECT_EQ(merged.ReadSection("A"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(merged.ReadSections(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(IniSnapshotTest, ReadsTheFileAgainOnlyWhenItChanged) {
  Write("[s]\r\nk=1\r\n");
  IniSnapshot snapshot(path_);
  EXPECT_EQ(snapshot.LoadCount(), 1u);
  EXPECT_FALSE(snapshot.Refresh());

  // An INI write replaces the file by another of the same size.
  ASSERT_TRUE(IniFile(path_).WriteString("s", "k", "2"));
  EXPECT_EQ(snapshot.ReadString("s", "k", ""), "1");  // look-ups never look at the file
  EXPECT_TRUE(snapshot.Refresh());
  EXPECT_EQ(snapshot.ReadString("s", "k", ""), "2");

  // Edited in place, same size: only the modification time (1 ns later) tells.
  const struct timespec before = Modified();
  Patch(7, "3");
  SetModified({before.tv_sec, before.tv_nsec == 999999999 ? 0 : before.tv_nsec + 1});
  EXPECT_TRUE(snapshot.Refresh());
  EXPECT_EQ(snapshot.ReadString("s", "k", ""), "3");

  // Edited in place, same time: the size tells.
  const struct timespec same = Modified();
  Patch(10, "j=4\r\n");
  SetModified(same);
  EXPECT_TRUE(snapshot.Refresh());
  EXPECT_EQ(snapshot.ReadString("s", "j", ""), "4");

  // Gone: an empty file; back: read again.
  fs::remove(path_);
  EXPECT_TRUE(snapshot.Refresh());
  EXPECT_FALSE(snapshot.SectionExists("s"));
  EXPECT_FALSE(snapshot.Refresh());
  Write("[s]\r\nk=5\r\n");
  EXPECT_TRUE(snapshot.Refresh());
  EXPECT_EQ(snapshot.ReadString("s", "k", ""), "5");
  EXPECT_EQ(snapshot.LoadCount(), 6u);

  // The answers stay where the snapshot goes.
  IniSnapshot moved = std::move(snapshot);
  EXPECT_EQ(moved.ReadString("s", "k", ""), "5");
}

}  // namespace
}  // namespace quenlet
