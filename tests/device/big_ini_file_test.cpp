#include "device/big_ini_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/int_text.h"
#include "platform/program_paths.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

class BigIniFileTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    path_ = Path("t.ini");
  }

  void Write(const std::string& text) { testing::WriteFile(path_, text); }
  std::string Contents() const { return testing::ReadFile(path_); }
  LineList Lines(TBigIniFile& ini, const std::string& section) {
    LineList lines;
    ini.ReadSectionValues(section, lines);
    return lines;
  }
  size_t FilesInDir() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  std::string path_;
};

TEST_F(BigIniFileTest, CatalogueLookUpsFollowTheStoreRules) {
  TBigIniFile ini(std::string(QUENLET_FIXTURES) + "/big_ini/select.ini");
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"General Type", "27C256", "27C256.ini"},
      {"GENERAL TYPE", "27c256", "27C256.ini"},  // section and key without case
      {"General Type", "P1", "<none>"},          // "P1 = p1.ini" has the key "P1 "
      {"General Type", "P1 ", " p1.ini"},        // ... and the value " p1.ini"
      {"Maker_X", "MX29F040", "MX29F040.INI"},   // first key without case wins
      {"ACME", "A1", "acme\\a1.ini"},            // first of two [ACME] sections wins
      {"acme", "A2", "acme\\a2.ini"},            // a key only the later one holds
      {"ITEM", "0003", "ACME"},
      {"Missing", "27C256", "<none>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<none>"), c.expected)
        << "[" << c.section << "] " << c.key;
  }
  EXPECT_FALSE(ini.Modified());
}

TEST_F(BigIniFileTest, ValuesAndNamesAreTakenVerbatim) {
  Write(
      "[S]\n"
      "k=  v  \r\n"
      "key = value\n"
      "quoted=\"q\"\n"
      "; note=1\n"
      "=lone\n"
      "bare\n"
      "\x1a\n"        // an end-of-file mark counts as an empty line
      "[\xA4\x41]\n"  // Big5 character whose second byte is an ASCII letter
      "x=big5\n"
      "[Ma\xE4\xB8\x81"
      "ker]\n"  // UTF-8
      "x=utf8\n");
  TBigIniFile ini(path_);
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"S", "k", "  v  "},
      {"S", "key", "dflt"},  // no parse option is on
      {"S", "quoted", "\"q\""},
      {"S", "; note", "1"},  // comments are ordinary lines
      {"S", "", "lone"},
      {"S", "bare", "dflt"},  // a line without "=" has no key
      {"\xA4\x41", "x", "big5"},
      {"\xA4\x61", "x", "dflt"},  // another Big5 character, not another case
      {"MA\xE4\xB8\x81"
       "KER",
       "X", "utf8"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, "dflt"), c.expected)
        << "[" << c.section << "] " << c.key;
  }
  LineList keys;
  ini.ReadSection("s", keys);
  EXPECT_EQ(keys, (LineList{"k", "key ", "quoted", "; note", "", ""}));
}

TEST_F(BigIniFileTest, AByteOrderMarkIsSkippedAndKept) {
  Write("\xEF\xBB\xBF[ITEM]\r\nValue=2\r\n");
  TBigIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("ITEM", "Value", "none"), "2");
  ASSERT_TRUE(ini.WriteString("ITEM", "Next", "3"));
  ASSERT_TRUE(ini.FlushFile());
  EXPECT_EQ(Contents(), "\xEF\xBB\xBF[ITEM]\r\nValue=2\r\nNext=3\r\n\r\n");
}

TEST_F(BigIniFileTest, IntegersAndBooleans) {
  Write(
      "[N]\n"
      "hex=0x1F\nHEX2=0X1f\ndollar=$1F\nneg=-5\nbad=12abc\nempty=\nhuge=99999999999\n"
      "zero=0\ntwo=2\n");
  TBigIniFile ini(path_);
  const struct {
    const char* key;
    int32_t expected;
  } cases[] = {{"hex", 31}, {"hex2", 31},  {"dollar", 31}, {"neg", -5},
               {"bad", -1}, {"empty", -1}, {"huge", -1},   {"missing", -1}};
  for (const auto& c : cases) EXPECT_EQ(ini.ReadInteger("N", c.key, -1), c.expected) << c.key;
  EXPECT_FALSE(ini.ReadBool("N", "zero", true));
  EXPECT_TRUE(ini.ReadBool("N", "two", false));
  EXPECT_TRUE(ini.ReadBool("N", "missing", true));
}

TEST_F(BigIniFileTest, DuplicateSectionsAreMergedInMemoryOnly) {
  Write("[A]\r\nx=1\r\n[B]\r\nb=1\r\n[a]\r\nx=2\r\ny=3\r\n");
  {
    TBigIniFile ini(path_);
    LineList names;
    ini.ReadSections(names);
    EXPECT_EQ(names, (LineList{"A", "B"}));
    EXPECT_EQ(Lines(ini, "a"), (LineList{"x=1", "x=2", "y=3"}));
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
    EXPECT_FALSE(ini.Modified());
  }
  EXPECT_EQ(Contents(), "[A]\r\nx=1\r\n[B]\r\nb=1\r\n[a]\r\nx=2\r\ny=3\r\n");

  // A real change writes the merged section: nothing read is lost.
  {
    TBigIniFile ini(path_);
    ASSERT_TRUE(ini.WriteString("B", "b", "2"));
    ASSERT_TRUE(ini.FlushFile());
  }
  EXPECT_EQ(Contents(), "[A]\r\nx=1\r\nx=2\r\ny=3\r\n\r\n[B]\r\nb=2\r\n\r\n");
}

TEST_F(BigIniFileTest, DuplicatesAreFoundAsTheSectionSearchFindsNames) {
  // "\xA4\x41" and "\xA4\x61" are two Big5 characters: two sections, both
  // found; "\xA4\x41X" and "\xA4\x41x" differ in an ASCII letter only.
  Write(
      "[\xA4\x41]\r\nP=a.ini\r\n[\xA4\x61]\r\nP=b.ini\r\n[\xA4\x41x]\r\nQ=c.ini\r\n"
      "[\xA4\x41X]\r\nR=d.ini\r\n");
  TBigIniFile ini(path_);
  LineList names;
  ini.ReadSections(names);
  EXPECT_EQ(names, (LineList{"\xA4\x41", "\xA4\x61", "\xA4\x41x"}));
  EXPECT_EQ(ini.ReadString("\xA4\x41", "P", ""), "a.ini");
  EXPECT_EQ(ini.ReadString("\xA4\x61", "P", ""), "b.ini");
  EXPECT_EQ(ini.ReadString("\xA4\x41X", "R", ""), "d.ini");
}

TEST_F(BigIniFileTest, DuplicateHandlerDecidesWhichSectionStays) {
  Write("[A]\nx=1\n[a]\nx=2\n[B]\n[A]\nx=3\n");
  for (bool keep_first : {true, false}) {
    TBigIniFile ini("");
    std::vector<std::string> calls;
    ini.DuplicateSectionHandler = [&](const std::string& name, LineList& keep, LineList& drop) {
      calls.push_back(name + ":" + keep.front() + ">" + drop.front());
      return keep_first;
    };
    ini.AppendFromFile(path_);
    LineList names;
    ini.ReadSections(names);
    if (keep_first) {
      EXPECT_EQ(calls, (std::vector<std::string>{"A:x=1>x=2", "A:x=1>x=3"}));
      EXPECT_EQ(names, (LineList{"A", "B"}));
      EXPECT_EQ(ini.ReadString("a", "x", ""), "1");
    } else {
      // Each later section wins in turn; the last one stays, in its place.
      EXPECT_EQ(calls, (std::vector<std::string>{"A:x=1>x=2", "a:x=2>x=3"}));
      EXPECT_EQ(names, (LineList{"B", "A"}));
      EXPECT_EQ(ini.ReadString("a", "x", ""), "3");
    }
    EXPECT_FALSE(ini.Modified());
  }
}

TEST_F(BigIniFileTest, ReadOnlyUseLeavesTheFileUntouched) {
  const std::string text =
      "; comment before any section\n"
      "top=1\r\n"
      "\r\n"
      "[Dup]\r\nk=1\r\n[DUP]\r\nk=2\r\n"
      "[Long]\r\n" +
      std::string(300, 'L') +
      "\r\n"
      "\x1a\r\n"
      "[Big5]\r\nname=\xA4\xA4\xA4\xE5\r\n"
      "[List]\r\nCount=2\r\n1=a\r\n"
      "[Empty]\r\n"
      "no newline at end";
  Write(text);
  // An old time stamp, so a rewrite within the same second still shows.
  const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
  struct stat before {};
  ASSERT_EQ(::stat(path_.c_str(), &before), 0);
  {
    TBiggerIniFile ini(path_);
    LineList list;
    ini.ReadAll(list);
    ini.ReadSections(list);
    ini.ReadSection("dup", list);
    ini.ReadNumberedList("List", list, "");
    EXPECT_EQ(ini.ReadString("Big5", "name", ""), "\xA4\xA4\xA4\xE5");
    EXPECT_EQ(ini.ReadInteger("List", "Count", 0), 2);
    // Writes that change nothing do not count as changes.
    EXPECT_TRUE(ini.WriteString("Dup", "k", "1"));
    ini.DeleteKey("Nowhere", "k");
    ini.EraseSection("Nowhere");
    EXPECT_TRUE(ini.WriteSectionValues("List", {"Count=2", "1=a"}));
    EXPECT_FALSE(ini.Modified());
  }
  struct stat after {};
  ASSERT_EQ(::stat(path_.c_str(), &after), 0);
  EXPECT_EQ(Contents(), text);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
}

TEST_F(BigIniFileTest, WriteBackKeepsEveryOtherLine) {
  Write(
      "; top comment\n"
      "[S1]\n"
      "; about a\n"
      "a=1\n"
      "plain text line\n"
      "b = spaced\n"
      "\n"
      "[S2]\n"
      "c=3\n");
  {
    TBigIniFile ini(path_);
    EXPECT_TRUE(ini.WriteString("s1", "A", "2"));  // replaces "a=1" (the key as written now)
    EXPECT_TRUE(ini.WriteString("S2", "d", "4"));
    EXPECT_TRUE(ini.WriteInteger("New", "n", -7));
    EXPECT_TRUE(ini.WriteBool("New", "flag", true));
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(Contents().substr(0, 13), "; top comment");  // nothing written yet
    EXPECT_TRUE(ini.FlushFile());
    EXPECT_FALSE(ini.Modified());
  }
  EXPECT_EQ(Contents(),
            "; top comment\r\n"
            "[S1]\r\n; about a\r\nA=2\r\nplain text line\r\nb = spaced\r\n\r\n"
            "[S2]\r\nc=3\r\nd=4\r\n\r\n"
            "[New]\r\nn=-7\r\nflag=1\r\n\r\n");
  EXPECT_EQ(FilesInDir(), 1u);  // the temporary file was renamed over the old one

  TBigIniFile again(path_);
  EXPECT_EQ(again.ReadInteger("new", "N", 0), -7);
  EXPECT_EQ(again.ReadString("S1", "b ", ""), " spaced");
}

TEST_F(BigIniFileTest, ChangingWritesMarkTheStoreAndTheDestructorSaves) {
  Write("[S]\nk=v\n");
  {
    TBigIniFile ini(path_);
    EXPECT_TRUE(ini.WriteString("S", "k", "v"));
    EXPECT_FALSE(ini.Modified());
    EXPECT_TRUE(ini.WriteString("S", "K", "v"));  // the line differs in case
    EXPECT_TRUE(ini.Modified());
  }
  EXPECT_EQ(Contents(), "[S]\r\nK=v\r\n\r\n");

  // Three empty texts flush at once.
  TBigIniFile ini(path_);
  ini.WriteString("S", "k", "w");
  EXPECT_TRUE(ini.WriteString("", "", ""));
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(Contents(), "[S]\r\nk=w\r\n\r\n");
}

TEST_F(BigIniFileTest, EraseSectionAndDeleteKey) {
  Write("[A]\nk=1\nk=2\nother=x\n[B]\nonly=1\n[C]\nc=1\n[D]\nd=1\n");
  {
    TBigIniFile ini(path_);
    ini.DeleteKey("a", "K");  // the first "k" only
    EXPECT_EQ(Lines(ini, "A"), (LineList{"k=2", "other=x"}));
    ini.DeleteKey("B", "only");                    // an emptied section is not written back
    EXPECT_EQ(ini.ReadString("D", "d", ""), "1");  // the search now starts at the last section
    ini.EraseSection("d");
    EXPECT_EQ(ini.ReadString("A", "other", ""), "x");
    EXPECT_TRUE(ini.WriteString("C", "", "x"));  // an empty key erases the section
    ini.DeleteKey("Nowhere", "k");
    LineList names;
    ini.ReadSections(names);
    EXPECT_EQ(names, (LineList{"A", "B"}));  // no section made up for the missing one
    LineList all;
    ini.ReadAll(all);
    EXPECT_EQ(all, (LineList{"[A]", "k=2", "other=x", ""}));
  }
  EXPECT_EQ(Contents(), "[A]\r\nk=2\r\nother=x\r\n\r\n");
}

TEST_F(BigIniFileTest, WritesThatCouldNotReadBackAreRefused) {
  Write("[S]\nk=v\n");
  TBigIniFile ini(path_);
  const struct {
    std::string section, key, value;
  } cases[] = {
      {"S", "a=b", "v"},                  // the key would end at its own "="
      {"S", "k", "v\r\n[Other]\r\nx=1"},  // a line break would start a section
      {"S", "k\n", "v"},
      {"S\n", "k", "v"},
      {"S", "[x", "y]"},                  // the line would read back as a header
      {"S", std::string(255, 'k'), "v"},  // no room left for the "="
      {std::string(254, 's'), "k", "v"},  // the header would not fit a line
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.key;
  }
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(Lines(ini, "S"), (LineList{"k=v"}));
}

TEST_F(BigIniFileTest, ShortStringsAreCutWithoutReadingPastThem) {
  // 100 three-byte characters: the cut falls inside one.
  std::string wide;
  for (int i = 0; i < 100; ++i) wide += "\xE4\xB8\x80";
  Write("[S]\nr=" + wide + "\n" + std::string(300, 'x') + "=long\n");
  TBigIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("S", "r", ""), wide.substr(0, 253));
  EXPECT_EQ(Lines(ini, "S")[1], std::string(255, 'x'));  // the line is cut, its "=" with it

  ASSERT_TRUE(ini.WriteString("S", "w", wide));
  EXPECT_EQ(ini.ReadString("S", "w", ""), wide.substr(0, 253));
  EXPECT_EQ(ini.ReadString("S", "w" + std::string(300, 'z'), "dflt"), "dflt");
}

TEST_F(BigIniFileTest, FailuresAreReportedAndLoseNothing) {
  // A folder where the file should be cannot be read.
  fs::create_directories(dir_ / "folder.ini");
  EXPECT_THROW({ TBigIniFile bad((dir_ / "folder.ini").string()); }, IniStoreError);

  // A missing file gives an empty store; a file that cannot be written
  // reports it and keeps the changes in memory.
  const std::string nowhere = (dir_ / "no-such-dir" / "x.ini").string();
  TBigIniFile ini(nowhere);
  ASSERT_TRUE(ini.WriteString("S", "k", "v"));
  EXPECT_FALSE(ini.FlushFile());
  EXPECT_TRUE(ini.Modified());
  EXPECT_FALSE(ini.SetFileName(path_));  // switching would drop the unsaved change
  EXPECT_EQ(ini.FileName(), nowhere);
  EXPECT_EQ(ini.ReadString("S", "k", ""), "v");

  // A failed load changes nothing either.
  fs::create_directories(dir_ / "no-such-dir");
  ASSERT_TRUE(ini.FlushFile());
  EXPECT_THROW(ini.AppendFromFile((dir_ / "folder.ini").string()), IniStoreError);
  EXPECT_THROW(ini.SetFileName((dir_ / "folder.ini").string()), IniStoreError);
  EXPECT_EQ(ini.FileName(), nowhere);
  EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
}

TEST_F(BigIniFileTest, NumberedLists) {
  Write("[L]\nCount=3\n1=x\n2=y\n3=z\nkeep=1\n[Big]\nCount=2147483647\n1=only\n");
  TBiggerIniFile ini(path_);
  ASSERT_TRUE(ini.WriteNumberedList("L", {"a", "b"}));
  EXPECT_EQ(Lines(ini, "L"), (LineList{"Count=2", "keep=1", "1=a", "2=b"}));

  LineList read{"before"};
  ini.ReadNumberedList("l", read, "-");
  EXPECT_EQ(read, (LineList{"before", "a", "b"}));

  // Writing the same list again changes nothing.
  ASSERT_TRUE(ini.FlushFile());
  ASSERT_TRUE(ini.WriteNumberedList("L", {"a", "b"}));
  EXPECT_FALSE(ini.Modified());

  // A damaged Count neither hangs nor makes up entries beyond the section.
  LineList big;
  ini.ReadNumberedList("Big", big, "-");
  EXPECT_EQ(big, (LineList{"only", "-"}));
  ASSERT_TRUE(ini.WriteNumberedList("Big", {"n"}));
  EXPECT_EQ(Lines(ini, "Big"), (LineList{"Count=1", "1=n"}));
}

TEST_F(BigIniFileTest, SectionValuesAndColours) {
  Write("[V]\na=1\nb=2\n[Colours]\nbad=zz\n");
  TBiggerIniFile ini(path_);
  EXPECT_TRUE(ini.WriteSectionValues("v", {"a=1", "b=2"}));
  EXPECT_FALSE(ini.Modified());
  EXPECT_TRUE(ini.WriteSectionValues("V", {"a=1", "b=3"}));
  EXPECT_TRUE(ini.Modified());
  EXPECT_TRUE(ini.WriteSectionValues("New", {"n=1"}));
  EXPECT_FALSE(ini.WriteSectionValues("V", {"ok=1", "x\ny"}));
  EXPECT_FALSE(ini.WriteSectionValues("V", {"[Injected]"}));
  EXPECT_EQ(Lines(ini, "V"), (LineList{"a=1", "b=3"}));
  EXPECT_EQ(Lines(ini, "new"), (LineList{"n=1"}));

  EXPECT_TRUE(ini.WriteColor("Colours", "window", static_cast<int32_t>(0x80000005u)));
  EXPECT_TRUE(ini.WriteColor("Colours", "orange", 0x0080FF));
  EXPECT_EQ(ini.ReadString("Colours", "window", ""), "80000005");
  EXPECT_EQ(ini.ReadString("Colours", "orange", ""), "000080FF");
  EXPECT_EQ(ini.ReadColor("Colours", "window", 0), static_cast<int32_t>(0x80000005u));
  EXPECT_EQ(ini.ReadColor("Colours", "missing", 0x123456), 0x123456);
  EXPECT_THROW(ini.ReadColor("Colours", "bad", 0), ConversionError);
}

TEST(SectionListTest, SearchesAndNameValueLines) {
  TSectionList list;
  list.Add("A");
  list.Add("B");
  list.Add("C");
  EXPECT_EQ(list.IndexOf("c"), 2);
  list.Delete(2);  // the last index found is gone
  EXPECT_EQ(list.IndexOf("C"), -1);
  EXPECT_EQ(list.IndexOf("b"), 1);
  EXPECT_THROW(list.SectionItems(2), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);

  LineList lines{"novalue", "Name=1", "name=2", "=empty"};
  EXPECT_EQ(IndexOfName(lines, "NAME"), 1);
  EXPECT_EQ(IndexOfName(lines, "novalue"), -1);
  EXPECT_EQ(GetValue(lines, ""), "empty");
  EXPECT_EQ(GetValue(lines, "missing"), "");
  SetValue(lines, "name", "3");
  SetValue(lines, "new", "v");
  SetValue(lines, "=", "");  // no such key: nothing to delete
  SetValue(lines, "NAME", "");
  EXPECT_EQ(lines, (LineList{"novalue", "name=2", "=empty", "new=v"}));
}

TEST_F(BigIniFileTest, ProgramIniFileIsNamedAfterTheProgram) {
  EXPECT_EQ(ProgramIniName("/opt/q/quenlet"), "/opt/q/quenlet.ini");
  EXPECT_EQ(ProgramIniName("/opt/q.d/prog.exe"), "/opt/q.d/prog.ini");

  std::ofstream((dir_ / "Quenlet.INI").string(), std::ios::binary) << "[H]\r\nH0=file.hex\r\n";
  const std::string program = (dir_ / "quenlet").string();
  EXPECT_EQ(ProgramIniName(program), (dir_ / "Quenlet.INI").string());
  TAppIniFile app(program);
  EXPECT_EQ(app.ReadString("h", "h0", ""), "file.hex");

  char exe[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  TAppIniFile own;
  EXPECT_EQ(own.FileName(), ProgramIniName(exe));
}

}  // namespace
}  // namespace quenlet
