// The hex fields of the buffer dialogs, typed into and pasted into.
#include "ui/buffer/hex_address_edit.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

namespace quenlet {
namespace {

TEST(HexAddressEdit, TypingAndPastingKeepOnlyWhatTheFieldHolds) {
  struct Row {
    const char* name;
    size_t digits;
    QString start;
    QString typed;  // typed key by key, empty when pasting
    QString pasted;
    QString result;
  };
  const Row rows[] = {
      {"lower case is upper-cased", kAddressDigits, "", "a", "", "A"},
      {"other keys are dropped", kAddressDigits, "", "g- x", "", ""},
      {"digits and letters mixed", kAddressDigits, "", "1aF0", "", "1AF0"},
      {"a ninth digit is cut", kAddressDigits, "", "123456789", "", "12345678"},
      {"a byte field holds two", kByteDigits, "", "100", "", "10"},
      {"paste is cut at the first non-hex", kAddressDigits, "", "", "12G4", "12"},
      {"paste is cut to the length first", kByteDigits, "", "", "ABC", "AB"},
      {"pasted lower case stays as it is", kAddressDigits, "", "", "ab", "ab"},
      {"paste after a blank keeps nothing", kWordDigits, "", "", " 12", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HexAddressEdit edit(row.digits);
    edit.setText(row.start);
    edit.show();
    if (!row.typed.isEmpty()) {
      QTest::keyClicks(&edit, row.typed);
    } else {
      QApplication::clipboard()->setText(row.pasted);
      edit.paste();
    }
    EXPECT_EQ(edit.text(), row.result);
  }
}

TEST(HexAddressEdit, EditingKeysStillWork) {
  HexAddressEdit edit;
  edit.show();
  QTest::keyClicks(&edit, "12345");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "1234");
  QTest::keyClick(&edit, Qt::Key_Home);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text(), "234");
  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);  // select all
  QTest::keyClicks(&edit, "f");
  EXPECT_EQ(edit.text(), "F");
  EXPECT_EQ(edit.Value(), 0xFu);
}

TEST(HexAddressEdit, TwinsFollowOnlyTheUsersTyping) {
  HexAddressEdit byte_edit;
  HexAddressEdit word_edit;
  TwinByteWordAddresses(&byte_edit, &word_edit);
  byte_edit.show();
  word_edit.show();

  QTest::keyClicks(&byte_edit, "101");
  EXPECT_EQ(word_edit.text(), "0000080");
  QTest::keyClick(&byte_edit, Qt::Key_Backspace);
  EXPECT_EQ(word_edit.text(), "0000008");

  word_edit.clear();
  QTest::keyClicks(&word_edit, "8000000");
  EXPECT_EQ(byte_edit.text(), "10000000");

  // Text the program sets leaves the twin alone, in both directions.
  byte_edit.setText("0000200");
  EXPECT_EQ(word_edit.text(), "8000000");
  word_edit.setText("0000001");
  EXPECT_EQ(byte_edit.text(), "0000200");
}

}  // namespace
}  // namespace quenlet
