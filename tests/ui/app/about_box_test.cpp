// The about box over the application object with the simulated unit.
#include "ui/app/about_box.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/app_fixture.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AboutBoxTest : public AppTest {};

TEST_F(AboutBoxTest, EveryOpeningAsksTheUnitAndReloadsTheDevice) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini");
  StartAndShow();
  for (int opening = 1; opening <= 2; ++opening) {
    SCOPED_TRACE(opening);
    const int identifications = Requests(request::kHardwareInfo);
    const int drivers = sim->unit().driver_passes_received();
    sim->ClearBusLog();
    TAboutBox box(*app, nullptr);
    EXPECT_EQ(box.H_sn()->text(), "V1.2");
    EXPECT_EQ(Requests(request::kHardwareInfo), identifications + 1);
    // Reconnected, then the device loaded again (its driver goes up).
    EXPECT_EQ(sim->bus_log().front(), "close 0");
    EXPECT_GT(sim->unit().driver_passes_received(), drivers);
  }
  EXPECT_THAT(Shown(), IsEmpty());
}

TEST_F(AboutBoxTest, WithoutAnAnswerTheFirmwareIsNotAvailable) {
  StartAndShow();
  sim->unit().ShortenNextReply(0x41, 10);
  EXPECT_EQ(TAboutBox(*app, nullptr).H_sn()->text(), "Not Available");
  sim->SetUnitPresent(false);
  TAboutBox box(*app, nullptr);
  EXPECT_EQ(box.H_sn()->text(), "Not Available");
  // The device load after the reconnect says the unit is missing.
  EXPECT_THAT(Shown(), ElementsAre("Please Open your USB"));
}

TEST_F(AboutBoxTest, AVersionANulEndsEarlyShowsAsInTheHardwareWindow) {
  StartAndShow();
  sim->unit().identification().bytes[8] = 0;
  EXPECT_EQ(TAboutBox(*app, nullptr).H_sn()->text(), "V1");
}

TEST_F(AboutBoxTest, ItsTextsPlaceAndShortForm) {
  StartAndShow();
  QWidget main_window;
  main_window.move(200, 100);
  main_window.show();
  TAboutBox box(*app, &main_window);
  box.show();
  EXPECT_EQ(box.windowTitle(), "About");
  EXPECT_NE(box.findChild<QWidget*>("TitleBand"), nullptr);  // the caption shows
  EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(box.pos(), main_window.frameGeometry().topLeft() + QPoint(130, 55));
  QStringList texts;
  for (const QLabel* label : box.findChildren<QLabel*>()) texts << label->text();
  for (const char* expected :
       {"VARNEK - KZ", "Quenlet", "Software Version  :", "9.40", "Firmware Version :", "V1.2"}) {
    EXPECT_TRUE(texts.contains(expected)) << expected;
  }
  EXPECT_TRUE(box.OKButton()->isDefault());
  QAccessibleInterface* icon = QAccessible::queryAccessibleInterface(box.ProgramIcon());
  EXPECT_EQ(icon->role(), QAccessible::Button);
  EXPECT_FALSE(icon->text(QAccessible::Name).isEmpty());
  EXPECT_TRUE(SaveScreenshot(box, "about"));

  QTest::mouseClick(box.ProgramIcon(), Qt::LeftButton);
  EXPECT_EQ(box.height(), TAboutBox::kBandDrop + 163);
  EXPECT_EQ(box.Panel1()->height(), 161);
  EXPECT_FALSE(box.tt()->isVisible());
  EXPECT_FALSE(box.H_sn()->isVisible());
  EXPECT_TRUE(box.Label3()->isVisible());
  // OK stays within the short form.
  EXPECT_TRUE(box.OKButton()->isVisible());
  EXPECT_LE(box.OKButton()->geometry().bottom(), 161);
  EXPECT_TRUE(SaveScreenshot(box, "about-short"));
  QTest::mouseClick(box.OKButton(), Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace quenlet::testing
