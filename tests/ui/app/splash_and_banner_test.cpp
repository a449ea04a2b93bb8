// The start-up splash and the banner on the offscreen platform.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>

#include "platform/ini_file.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/app/head_form.h"
#include "ui/app/logo_window.h"
#include "ui/controls/scroll_text.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SplashTest : public testing::TempDirTest {
 protected:
  std::string Dir() const { return dir_.string() + "/"; }
  // The splash picture the program ships.
  void ShipPicture() {
    std::filesystem::copy_file(std::string(QUENLET_PROGRAM_DIR) + "/Temp1.cue", Path("Temp1.cue"));
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  testing::FakeMessages messages;
};

TEST_F(SplashTest, ShortGivesTheSecondsUntilTheSplashClosesItself) {
  ShipPicture();
  struct Case {
    const char* short_value;  // nullptr: no key
    bool timer;
    int interval;
  };
  const Case cases[] = {
      {nullptr, false, 0}, {"0", false, 0},          {"3", true, 3000},
      {"-5", false, 0},    {"99999", true, 3600000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.short_value ? c.short_value : "none");
    std::filesystem::remove(Path("History_1.ini"));
    if (c.short_value) IniFile(Path("History_1.ini")).WriteString("System", "Short", c.short_value);
    TLogo logo(Dir(), messages);
    EXPECT_TRUE(logo.HasPicture());
    EXPECT_EQ(logo.Logo_Timer().isActive(), c.timer);
    if (c.timer) {
      EXPECT_EQ(logo.Logo_Timer().interval(), c.interval);
    }
    EXPECT_THAT(messages.texts(), IsEmpty());
  }
  // The picture is made in memory: nothing is written beside the logo file.
  EXPECT_THAT(Files(), ElementsAre("History_1.ini", "Temp1.cue"));
}

TEST_F(SplashTest, WithoutAPictureItSaysSoAndTheStartGoesOn) {
  IniFile(Path("History_1.ini")).WriteString("System", "Short", "3");
  struct Case {
    const char* name;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"missing", std::nullopt},
      {"shorter than the header", std::string(53, 'B')},
      {"not a bitmap", std::string(60, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Path("Temp1.cue"));
    if (c.bytes) testing::WriteFile(Path("Temp1.cue"), *c.bytes);
    messages.boxes.clear();
    TLogo logo(Dir(), messages);
    EXPECT_FALSE(logo.HasPicture());
    EXPECT_THAT(messages.texts(), ElementsAre("No found 1.bmp"));
    // The layout's time goes on.
    EXPECT_TRUE(logo.Logo_Timer().isActive());
    EXPECT_EQ(logo.Logo_Timer().interval(), TLogo::kLayoutInterval);
    EXPECT_FALSE(std::filesystem::exists(Path("1.bmp")));
  }
}

TEST_F(SplashTest, ItTakesNoInputAndItsTimerClosesIt) {
  ShipPicture();
  IniFile(Path("History_1.ini")).WriteString("System", "Short", "2");
  TLogo logo(Dir(), messages);
  logo.show();
  EXPECT_EQ(logo.size(), QSize(556, 390));
  EXPECT_TRUE(logo.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(logo.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_FALSE(logo.isEnabled());
  EXPECT_TRUE(logo.testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_EQ(logo.Logo_phto()->geometry(), logo.rect());
  EXPECT_FALSE(logo.Logo_phto()->pixmap().isNull());
  EXPECT_TRUE(testing::SaveScreenshot(logo, "splash"));
  logo.Logo_TimerTimer();
  EXPECT_FALSE(logo.isVisible());
  EXPECT_FALSE(logo.Logo_Timer().isActive());
}

void Tick(TScrollText& text, int ticks) {
  for (int i = 0; i < ticks; ++i) text.TimerTick();
}

TEST(HeadForm, TheProfileScrollsUpAndTheEndOfItsFirstPassClosesTheBanner) {
  THeadForm banner;
  EXPECT_EQ(banner.size(), QSize(441, 318));
  EXPECT_TRUE(banner.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(banner.windowFlags() & Qt::WindowTitleHint);
  TScrollText& text = *banner.ScrollText1();
  EXPECT_EQ(text.Steps(), 500);
  EXPECT_EQ(text.Speed(), 100);
  EXPECT_EQ(text.ScrollDirection(), TScrollDirection::sdBottomToTop);
  EXPECT_EQ(text.Alignment(), TAlignment::taCenter);
  EXPECT_TRUE(text.Continuous());
  EXPECT_EQ(text.Color(), QColor(Qt::white));
  EXPECT_FALSE(text.Items().isEmpty());
  banner.show();
  EXPECT_TRUE(text.Running());
  Tick(text, 200);
  EXPECT_TRUE(testing::SaveScreenshot(banner, "banner"));
  // A pass is Steps + 1 ticks; its end hides the banner, which its owner
  // then destroys.
  Tick(text, 300);
  EXPECT_TRUE(banner.isVisible());
  Tick(text, 1);
  EXPECT_FALSE(banner.isVisible());
  EXPECT_EQ(banner.result(), QDialog::Rejected);
}

TEST(HeadForm, AClickOnThePictureOrTheTextClosesIt) {
  for (bool on_text : {false, true}) {
    SCOPED_TRACE(on_text);
    THeadForm banner;
    banner.show();
    QWidget* target = on_text ? static_cast<QWidget*>(banner.ScrollText1()) : banner.Image1();
    QTest::mouseClick(target, Qt::LeftButton);
    EXPECT_FALSE(banner.isVisible());
  }
}

TEST(HeadForm, RunHeandShowsItModallyWithItsTimerOnlyWhenAsked) {
  for (int flag : {0, 1}) {
    SCOPED_TRACE(flag);
    std::optional<bool> timer;
    QTimer::singleShot(0, [&] {
      auto* banner = qobject_cast<THeadForm*>(QApplication::activeModalWidget());
      ASSERT_NE(banner, nullptr);
      timer = banner->Timer1().isActive();
      banner->FormClick();
    });
    RunHeand(flag);
    EXPECT_EQ(timer, flag != 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

}  // namespace
}  // namespace quenlet
