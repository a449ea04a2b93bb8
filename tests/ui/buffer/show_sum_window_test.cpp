// The load summary window on the offscreen platform.
#include "ui/buffer/show_sum_window.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quenlet {
namespace {

TEST(ShowSumWindow, SixReadOnlyHexFieldsStartingAtZero) {
  TShowSum window;
  EXPECT_EQ(window.windowTitle(), "Check Sum");
  const auto edits = window.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 6);
  for (QLineEdit* edit : edits) {
    EXPECT_EQ(edit->text(), "00000000") << edit->objectName().toStdString();
    EXPECT_TRUE(edit->isReadOnly());
  }
  QStringList labels;
  for (QLabel* label : window.findChildren<QLabel*>()) labels << label->text();
  for (const char* text : {"File Check Sum", "Device Check Sum", "Start Address", "End Address"}) {
    EXPECT_TRUE(labels.contains(text)) << text;
  }
}

TEST(ShowSumWindow, ShowsTheSummaryAndClosesOnOk) {
  TShowSum window;
  window.SetSummary({0xFF000000u, 0x10, 0x1F, 0x1234ABCDu, 0, 0xFFFFFFFFu});
  EXPECT_EQ(window.FileCheckSumEdit()->text(), "FF000000");
  EXPECT_EQ(window.FileStartAddressEdit()->text(), "00000010");
  EXPECT_EQ(window.FileEndAddressEdit()->text(), "0000001F");
  EXPECT_EQ(window.DeviceCheckSumEdit()->text(), "1234ABCD");
  EXPECT_EQ(window.DeviceStartAddressEdit()->text(), "00000000");
  EXPECT_EQ(window.DeviceEndAddressEdit()->text(), "FFFFFFFF");

  auto* ok = window.findChild<QPushButton*>("OK");
  ASSERT_NE(ok, nullptr);
  QTimer::singleShot(0, ok, [ok] { QTest::mouseClick(ok, Qt::LeftButton); });
  window.ShowModal();  // returns once OK closed it
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace quenlet
