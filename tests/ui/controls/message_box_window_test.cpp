// The program's message box on the offscreen platform: its kinds, what each
// button and Escape answer, its caption whole, its icons drawn by the
// program for the screen it is on.
#include "ui/controls/message_box_window.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/controls/look.h"
#include "ui/controls/message_icons.h"
#include "ui/controls/window_frame.h"
#include "ui/dialog_script.h"
#include "ui/offscreen_screens.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

using testing::Settle;
using testing::WhenShown;

QString Names(const MessageBoxWindow& box) {
  QStringList names;
  for (MessageResult r :
       {MessageResult::Ok, MessageResult::Cancel, MessageResult::Yes, MessageResult::No}) {
    if (QPushButton* b = box.Button(r)) names << b->accessibleName();
  }
  return names.join(' ');
}

TEST(MessageBoxWindow, ButtonsEscapeAndTheDefaultFollowTheKind) {
  const struct {
    MessageButtons buttons;
    const char* names;
    MessageResult escape;
    MessageResult first;
  } kinds[] = {
      {MessageButtons::Ok, "OK", MessageResult::Ok, MessageResult::Ok},
      {MessageButtons::OkCancel, "OK Cancel", MessageResult::Cancel, MessageResult::Ok},
      {MessageButtons::YesNo, "Yes No", MessageResult::No, MessageResult::Yes},
      {MessageButtons::YesNoCancel, "Cancel Yes No", MessageResult::Cancel, MessageResult::Yes},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.names);
    {
      MessageBoxWindow box("Caption", "Text", k.buttons, MessageIcon::None);
      EXPECT_EQ(Names(box), k.names);
      EXPECT_TRUE(box.Button(k.first)->isDefault());
      for (QPushButton* b : box.findChildren<QPushButton*>()) {
        EXPECT_TRUE(b->icon().isNull()) << "no platform pictures on the buttons";
      }
      WhenShown<MessageBoxWindow>([](MessageBoxWindow& b) { QTest::keyClick(&b, Qt::Key_Escape); });
      box.exec();
      EXPECT_EQ(box.Result(), k.escape);
    }
    {
      MessageBoxWindow box("Caption", "Text", k.buttons, MessageIcon::None);
      WhenShown<MessageBoxWindow>([](MessageBoxWindow& b) { QTest::keyClick(&b, Qt::Key_Return); });
      box.exec();
      EXPECT_EQ(box.Result(), k.first);
    }
  }
  // A click answers with its own button.
  MessageBoxWindow box("Exit:", "Exit Program?", MessageButtons::YesNo, MessageIcon::Question);
  WhenShown<MessageBoxWindow>([](MessageBoxWindow& b) { b.Button(MessageResult::No)->click(); });
  EXPECT_EQ(box.exec(), QDialog::Rejected);
  EXPECT_EQ(box.Result(), MessageResult::No);
}

TEST(MessageBoxWindow, ShowsItsCaptionWholeAndItsTextAsItStands) {
  // A caption wider than everything else in the box widens it.
  const QString caption = "Caption that is a good deal longer than the text";
  MessageBoxWindow box(caption, "<b>1 < 2</b>", MessageButtons::Ok, MessageIcon::Warning);
  EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(box.windowTitle(), caption);
  auto* band = box.findChild<QWidget*>("TitleBand");
  ASSERT_NE(band, nullptr);
  box.show();
  EXPECT_GE(band->width() - 2 * 16, QFontMetrics(look::TitleFont()).horizontalAdvance(caption));
  EXPECT_EQ(band->height(), kTitleBandHeight);
  EXPECT_EQ(box.TextLabel()->textFormat(), Qt::PlainText);
  EXPECT_EQ(box.TextLabel()->text(), "<b>1 < 2</b>");

  // A long line wraps at the box's text width; line breaks stay.
  MessageBoxWindow wide("Load", QString("x ").repeated(200) + "\n\nend", MessageButtons::Ok,
                        MessageIcon::None);
  EXPECT_TRUE(wide.TextLabel()->wordWrap());
  EXPECT_EQ(wide.TextLabel()->width(), MessageBoxWindow::kTextWidth);
  EXPECT_EQ(wide.findChild<QWidget*>("Icon"), nullptr);
}

TEST(MessageBoxWindow, OpensEnabledOverADisabledOwner) {
  QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
  owner.resize(554, 429);
  owner.show();
  owner.setEnabled(false);  // the main window while Exit asks
  bool enabled = false;
  WhenShown<MessageBoxWindow>([&](MessageBoxWindow& b) {
    enabled = b.isEnabled() && b.Button(MessageResult::Yes)->isEnabled();
    b.Button(MessageResult::Yes)->click();
  });
  EXPECT_EQ(
      RunMessageBox("Exit:", "Exit Program?", MessageButtons::YesNo, MessageIcon::Question, &owner),
      MessageResult::Yes);
  EXPECT_TRUE(enabled);
}

TEST(MessageIcons, AreDrawnInTheLooksColoursAtTheScreensPixelRatio) {
  const struct {
    MessageIcon icon;
    QColor colour;
    const char* name;
  } icons[] = {
      {MessageIcon::Information, look::kAccent, "information"},
      {MessageIcon::Warning, look::kWorking, "warning"},
      {MessageIcon::Stop, look::kFail, "error"},
      {MessageIcon::Question, look::kAccent, "question"},
  };
  EXPECT_TRUE(MessageIconPixmap(MessageIcon::None, 1).isNull());
  for (const auto& i : icons) {
    SCOPED_TRACE(i.name);
    for (const qreal ratio : {1.0, 2.0}) {
      const QPixmap pixmap = MessageIconPixmap(i.icon, ratio);
      EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
      EXPECT_EQ(pixmap.size(), QSize(kMessageIconSize, kMessageIconSize) * ratio);
      const QImage image = pixmap.toImage();
      // The shape's colour left of its mark, nothing in the corner.
      const int s = image.width();
      EXPECT_EQ(image.pixelColor(s / 4, s * 5 / 8).rgb(), i.colour.rgb());
      EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    }
  }

  // Each kind over the main window's colours, at 1x on the small screen and
  // at 2x on the large one.
  for (QScreen* screen : {testing::SmallScreen(), testing::LargeScreen()}) {
    ASSERT_NE(screen, nullptr);
    const bool large = screen == testing::LargeScreen();
    for (const auto& i : icons) {
      MessageBoxWindow box("Caption", "Input Value Error !", MessageButtons::OkCancel, i.icon);
      box.move(screen->availableGeometry().center());
      box.show();
      Settle();
      EXPECT_EQ(box.devicePixelRatioF(), screen->devicePixelRatio());
      const QImage shot = box.grab().toImage();
      EXPECT_EQ(shot.width(), qRound(box.width() * screen->devicePixelRatio()));
      testing::SaveScreenshot(shot, QString("message_box_%1%2").arg(i.name, large ? "@2x" : ""));
    }
  }
}

}  // namespace
}  // namespace quenlet
