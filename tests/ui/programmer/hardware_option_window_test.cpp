// The hardware-option window on the offscreen platform over the simulated
// unit: both pages, the sound settings kept by Exit, a self-test run and the
// user's device coming back when the window closes.
#include "ui/programmer/hardware_option_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "platform/ini_file.h"
#include "programmer/hardware_fixture.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

class HardwareWindow : public ::testing::Test, public HardwareFixture {
 protected:
  template <typename T>
  T* Find(const char* name) {
    T* widget = window_.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString Text(const char* name) { return Find<QLabel>(name)->text(); }

  int counter_redraws = 0;
  THardWare_Option window_{ctx, [this] { ++counter_redraws; }};
};

TEST_F(HardwareWindow, SystemPageShowsTheUnit) {
  EXPECT_EQ(window_.windowTitle(), "Hardware_Option");
  ASSERT_EQ(window_.Pages()->count(), 2);
  EXPECT_EQ(window_.Pages()->tabText(0), "System Option");
  EXPECT_EQ(window_.Pages()->tabText(1), "Self Test");
  for (const char* name : {"hard_name", "hard_type", "hard_sn", "hard_version", "hard_state"}) {
    EXPECT_EQ(Text(name), " Not Available") << name;
  }
  QStringList captions;
  for (QLabel* label : window_.findChildren<QLabel*>()) captions << label->text();
  for (const char* row : {"Machine Name :", "Machine Type :", "S/N :", "Firmware Version :",
                          "Status :", "熱機次數          "}) {
    EXPECT_TRUE(captions.contains(row)) << row;
  }
  EXPECT_EQ(Find<QPushButton>("Hard_OK")->text(), "Connect");
  EXPECT_EQ(Find<QPushButton>("Hard_Cancel")->text(), "Exit");

  window_.ShowHardwareInfo();
  EXPECT_EQ(Text("hard_name"), "VARNEK-TX ");
  EXPECT_EQ(Text("hard_type"), "2005");
  EXPECT_EQ(Text("hard_sn"), "2K1234567");
  EXPECT_EQ(Text("hard_version"), "V1.2");
  EXPECT_EQ(Text("hard_state"), "OK");

  state.SoundOn = 1;
  state.SoundKind = 1;
  window_.show();
  EXPECT_TRUE(Find<QRadioButton>("play_sound")->isChecked());
  EXPECT_TRUE(Find<QPushButton>("pass_test")->isEnabled());
  EXPECT_TRUE(SaveScreenshot(window_, "hardware_option_system"));

  // Without a unit, Connect says so in every label.
  sim.SetUnitPresent(false);
  QTest::mouseClick(Find<QPushButton>("Hard_OK"), Qt::LeftButton);
  EXPECT_EQ(Text("hard_state"), "Not Available");
  EXPECT_FALSE(window.sram_buttons);
}

TEST_F(HardwareWindow, ExitKeepsTheSoundSettings) {
  state.SoundOn = 1;
  state.SoundKind = 0;
  window_.show();
  auto* no_sound = Find<QRadioButton>("No_sound");
  Pick(no_sound);
  EXPECT_FALSE(Find<QPushButton>("pass_test")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("fail_test")->isEnabled());
  EXPECT_FALSE(Find<QGroupBox>("sound_effect")->isEnabled());
  Pick(Find<QCheckBox>("hot_key_function"));
  EXPECT_EQ(state.SoundOn, 1);  // nothing is kept before Exit

  QTest::mouseClick(Find<QPushButton>("Hard_Cancel"), Qt::LeftButton);
  EXPECT_FALSE(window_.isVisible());
  const IniFile history(state.HistoryIniFile);
  EXPECT_EQ(history.ReadString("Option", "sound_setup", ""), "0");
  EXPECT_EQ(history.ReadString("Option", "sound_mode", ""), "0");
  EXPECT_EQ(state.SoundOn, 0);
  EXPECT_EQ(state.HotKeyFunction, 1);
}

// Each button's own sound, heard on its own: Pass the standard beep
// whatever the effect; Fail the effect's fail sound, the stop beep or three
// standard beeps with a pause after the first.
TEST_F(HardwareWindow, TheSoundButtonsPlayAndPickTheEffect) {
  state.SoundOn = 1;
  window_.show();
  const auto effects = Find<QGroupBox>("sound_effect")->findChildren<QRadioButton*>();
  ASSERT_EQ(effects.size(), 2);
  EXPECT_EQ(effects[1]->text(), "Easy   Mode");
  struct Case {
    const char* button;
    int effect;
    std::vector<std::string> heard;
  };
  for (const Case& c : {Case{"pass_test", 0, {"beep 0"}}, Case{"fail_test", 0, {"beep 16"}},
                        Case{"fail_test", 1, {"beep 0", "sleep 50", "beep 0", "beep 0"}},
                        Case{"pass_test", 1, {"beep 0"}}}) {
    SCOPED_TRACE(::testing::Message() << c.button << " with effect " << c.effect);
    Pick(effects[c.effect]);
    EXPECT_EQ(state.SoundKind, c.effect);
    events.clear();
    QTest::mouseClick(Find<QPushButton>(c.button), Qt::LeftButton);
    EXPECT_EQ(events, c.heard);
  }
}

TEST_F(HardwareWindow, SelfTestPageRunsTheTestAndGivesTheDeviceBack) {
  EXPECT_EQ(Text("StaticText19"), "READY!!");
  // Each line is a caption cell with its item's name and the cell its
  // report goes in, lined up by the grid: the colons on one edge, every
  // report on one left edge.
  EXPECT_EQ(Text("Caption1"), "Selftest Ver 1.0");
  EXPECT_EQ(Text("Caption2"), "Pull-High :");
  EXPECT_EQ(Text("Caption4"), "Logic IN :");
  EXPECT_EQ(Text("Caption18"), "Vcc C :");
  EXPECT_EQ(Text("StaticText18"), "");
  window_.Pages()->setCurrentIndex(1);
  window_.show();
  const QRect first_caption = Find<QLabel>("Caption1")->geometry();
  for (int line = 0; line < kSelfTestLines; ++line) {
    SCOPED_TRACE(line);
    auto* caption = Find<QLabel>(QString("Caption%1").arg(line + 1).toUtf8().constData());
    EXPECT_EQ(caption->geometry().right(), first_caption.right());
    EXPECT_TRUE(caption->alignment() & Qt::AlignRight);
    EXPECT_EQ(window_.ReportText(line)->x(), window_.ReportText(0)->x());
    EXPECT_GT(window_.ReportText(line)->x(), first_caption.right());
  }
  auto* stop = Find<QPushButton>("Shelf_stop");
  EXPECT_FALSE(stop->isVisibleTo(&window_));
  EXPECT_FALSE(stop->isEnabled());
  EXPECT_EQ(window_.Timer1()->interval(), 1200);

  SetSelfTestLine(unit().self_test_report(), 6, "GndOff", {0x01, 0x00, 0x3C, 0x0F});
  state.PassCount = 5;
  QTest::mouseClick(Find<QPushButton>("Self_OK"), Qt::LeftButton);
  EXPECT_EQ(Text("StaticText19"), "Completed!");
  EXPECT_EQ(Text("StaticText2"), "PullHigh:-Pass- ");
  EXPECT_EQ(Text("StaticText7"), "01 00 3C 0F 20 20 20 20 20 ");
  EXPECT_EQ(Text("B_T"), "0");
  EXPECT_EQ(counter_redraws, 1);
  EXPECT_FALSE(window_.Timer1()->isActive());
  EXPECT_EQ(device.Name, "HARDTEST");
  EXPECT_TRUE(SaveScreenshot(window_, "hardware_option_self_test"));

  // Escape closes it, and the user's device is current again.
  QTest::keyClick(&window_, Qt::Key_Escape);
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(device.Name, "QD27-256");
  EXPECT_EQ(device.IcIniPath, UserPath());
  EXPECT_EQ(state.SelfTestMode, 0);
}

TEST_F(HardwareWindow, AFailedAttemptSaysNotConnected) {
  window_.Pages()->setCurrentIndex(1);
  window_.show();
  unit().FailRequest(0x4A);
  QTest::mouseClick(Find<QPushButton>("Self_OK"), Qt::LeftButton);
  EXPECT_EQ(Text("StaticText19"), "Not Connected...");
  EXPECT_EQ(Text("StaticText2"), "");  // no report came
  EXPECT_TRUE(SaveScreenshot(window_, "hardware_option_self_test_failed"));

  // Cancel gives the device back and closes the window.
  QTest::mouseClick(Find<QPushButton>("Shelf_Cancel"), Qt::LeftButton);
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(device.Name, "QD27-256");
  EXPECT_EQ(state.SelfTestMode, 0);
}

}  // namespace
}  // namespace quenlet::testing
