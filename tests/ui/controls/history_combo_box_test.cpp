// The history combo box on its INI section.
#include "ui/controls/history_combo_box.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>

#include <filesystem>

#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

constexpr const char* kSection = "BinaryEditLoadFileHistory";

class HistoryComboBoxTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    box.SetIniFileName(Path("quenlet.ini"));
    box.SetIniSection(kSection);
    box.SetMaxHistoryLength(10);
  }
  void Store(const std::vector<std::string>& entries) {
    IniFile ini(Path("quenlet.ini"));
    for (size_t i = 0; i < entries.size(); ++i) {
      ini.WriteString(kSection, "H" + std::to_string(i), entries[i]);
    }
  }
  std::vector<std::string> Section() const {
    IniFile ini(Path("quenlet.ini"));
    std::vector<std::string> out;
    for (const std::string& key : ini.ReadSection(kSection)) {
      out.push_back(key + "=" + ini.ReadString(kSection, key, ""));
    }
    return out;
  }

  THistoryComboBox box;
};

TEST_F(HistoryComboBoxTest, WriteKeepsTheMostRecentFirstAndEachNameOnce) {
  struct Row {
    const char* name;
    std::vector<std::string> stored;
    std::vector<std::string> added;  // items the owner adds after reading
    std::string text;
    std::vector<std::string> list;
  };
  std::vector<std::string> eleven;
  for (int i = 0; i < 10; ++i) eleven.push_back("f" + std::to_string(i));
  std::vector<std::string> eleven_after = {"new"};
  for (int i = 0; i < 9; ++i) eleven_after.push_back("f" + std::to_string(i));

  const Row rows[] = {
      {"a known name moves to the top",
       {"first", "second", "third"},
       {},
       "second",
       {"second", "first", "third"}},
      {"the oldest of eleven is dropped", eleven, {}, "new", eleven_after},
      {"an empty text adds nothing and drops empty items", {"a"}, {"", "b", ""}, "", {"a", "b"}},
      {"names differing in case both stay", {"A.bin"}, {}, "a.bin", {"a.bin", "A.bin"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(Path("quenlet.ini"));
    Store(row.stored);
    box.ReadIniFile();
    for (const std::string& item : row.added) box.addItem(QString::fromStdString(item));
    box.SetText(row.text);
    ASSERT_TRUE(box.WriteIniFile());
    EXPECT_EQ(box.Items(), row.list);
    std::vector<std::string> keys;
    for (size_t i = 0; i < row.list.size(); ++i) {
      keys.push_back("H" + std::to_string(i) + "=" + row.list[i]);
    }
    EXPECT_EQ(Section(), keys);
    EXPECT_EQ(box.Text(), row.text);
  }
}

TEST_F(HistoryComboBoxTest, ReadStopsAtTheFirstEmptyEntryAndLeavesTheTextEmpty) {
  Store({"one", "", "three"});
  box.SetText("typed");
  box.ReadIniFile();
  EXPECT_EQ(box.Items(), std::vector<std::string>{"one"});
  EXPECT_EQ(box.Text(), "");

  // At most MaxHistoryLength entries are read.
  Store({"one", "two", "three"});
  box.SetMaxHistoryLength(2);
  box.ReadIniFile();
  EXPECT_EQ(box.Items(), (std::vector<std::string>{"one", "two"}));
}

TEST_F(HistoryComboBoxTest, WithoutASectionNothingIsTouched) {
  box.SetIniSection("");
  box.addItem("kept");
  box.SetText("x");
  box.ReadIniFile();
  EXPECT_TRUE(box.WriteIniFile());
  EXPECT_EQ(box.Items(), std::vector<std::string>{"kept"});
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(HistoryComboBoxTest, EnterAddsNoItem) {
  box.show();
  QTest::keyClicks(box.lineEdit(), "typed.bin");
  QTest::keyClick(box.lineEdit(), Qt::Key_Return);
  EXPECT_EQ(box.count(), 0);
  EXPECT_EQ(box.Text(), "typed.bin");
}

TEST_F(HistoryComboBoxTest, ANameWithALineBreakIsNeverWritten) {
  Store({"good.bin"});
  box.ReadIniFile();
  box.SetText("x\n[Option]\nsound_setup=abc");
  EXPECT_TRUE(box.WriteIniFile());
  EXPECT_EQ(box.Items(), std::vector<std::string>{"good.bin"});
  EXPECT_EQ(Section(), std::vector<std::string>{"H0=good.bin"});
  EXPECT_EQ(IniFile(Path("quenlet.ini")).ReadSections(), std::vector<std::string>{kSection});
}

// File names are bytes: a Latin-1 name and a Big5 one are neither UTF-8,
// and Qt's strings would replace their bytes.
TEST_F(HistoryComboBoxTest, NamesThatAreNotUtf8SurviveEveryRewriteByteForByte) {
  const std::string latin1 = "/data/caf\xE9.bin";
  const std::string big5 = "/data/\xA4\xA4\xA4\xE5.bin";
  Store({latin1, big5, "plain.bin"});
  const std::vector<std::string> keys = {"H0=" + latin1, "H1=" + big5, "H2=plain.bin"};
  for (int i = 0; i < 10; ++i) {
    box.ReadIniFile();
    box.SetText(latin1);
    ASSERT_TRUE(box.WriteIniFile());
    ASSERT_EQ(Section(), keys) << "rewrite " << i;
  }
  EXPECT_EQ(box.itemText(0).toStdString(), "/data/caf\xC3\xA9.bin");  // shown decoded
  EXPECT_EQ(box.itemText(1).toStdString(), "/data/\xE4\xB8\xAD\xE6\x96\x87.bin");

  // A name picked from the list brings its bytes, as does the edit's own.
  box.ReadIniFile();
  box.setCurrentIndex(1);
  EXPECT_EQ(box.Text(), big5);
  ASSERT_TRUE(box.WriteIniFile());
  EXPECT_EQ(Section(), (std::vector<std::string>{"H0=" + big5, "H1=" + latin1, "H2=plain.bin"}));
  // A typed name is the operator's text.
  box.lineEdit()->setText(QString::fromUtf8("caf\xC3\xA9.bin"));
  EXPECT_EQ(box.Text(), "caf\xC3\xA9.bin");
}

TEST(HistoryComboBox, DefaultsToSevenEntriesInTheProgramsOwnIniFile) {
  THistoryComboBox box;
  EXPECT_EQ(box.MaxHistoryLength(), 7);
  EXPECT_TRUE(box.isEditable());
  EXPECT_EQ(box.insertPolicy(), QComboBox::NoInsert);
  const std::string exe = QCoreApplication::applicationFilePath().toStdString();
  EXPECT_EQ(box.EffectiveIniFileName(), exe + ".ini");
}

}  // namespace
}  // namespace quenlet
