#include "ui/controls/display_text.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>

namespace quenlet {
namespace {

TEST(DisplayTextTest, Utf8WhenValidElseBig5) {
  struct Case {
    const char* bytes;
    const char* shown;  // UTF-8
  };
  const Case cases[] = {
      {"AM29F010", "AM29F010"},
      {"\xE4\xB8\xAD\xE6\x96\x87", "中文"},  // UTF-8 as it is
      {"\xA4\xA4\xA4\xE5", "中文"},          // Big5 from an older device file
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayText(c.bytes).toStdString(), c.shown) << c.bytes;
  }
}

TEST(DisplayTextTest, WidgetsKeepTheBytesOfWhatTheyShow) {
  const std::string latin1 = "caf\xE9.bin";
  QLineEdit edit;
  SetByteText(&edit, latin1);
  EXPECT_EQ(edit.text(), QString::fromUtf8("caf\xC3\xA9.bin"));
  EXPECT_EQ(ByteTextOf(&edit), latin1);
  // Changed by the operator: the text's own bytes.
  edit.setText("other.bin");
  EXPECT_EQ(ByteTextOf(&edit), "other.bin");
  const QLineEdit plain;
  EXPECT_EQ(ByteTextOf(&plain), "");

  QComboBox box;
  box.setEditable(true);
  AddByteItem(&box, latin1);
  box.addItem("plain.bin");  // no bytes kept: its text's
  EXPECT_EQ(ItemBytes(&box, 0), latin1);
  EXPECT_EQ(ItemBytes(&box, 1), "plain.bin");
  // The edit shows an item's text (a completion): that item's bytes.
  box.lineEdit()->setText(box.itemText(0));
  EXPECT_EQ(ComboTextBytes(&box), latin1);
  EXPECT_EQ(TypedBytes(QString::fromUtf8("\xE4\xB8\xAD")), "\xE4\xB8\xAD");
}

}  // namespace
}  // namespace quenlet
