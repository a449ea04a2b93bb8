// The progress window on the offscreen platform.
#include "ui/buffer/progress_window.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

#include "buffer/data_buffer.h"
#include "support/fakes.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { window.SetCompletePauseMs(0); }
  TProgressWindow window;
};

TEST_F(ProgressWindowTest, IsASmallCaptionedDialogWithABarFromZeroToHundred) {
  EXPECT_EQ(window.windowTitle(), "Progress");
  EXPECT_EQ(window.size(), QSize(240, 32));
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMinMaxButtonsHint);
  EXPECT_EQ(window.Bar()->minimum(), 0);
  EXPECT_EQ(window.Bar()->maximum(), 100);
  EXPECT_EQ(window.Position(), 0);
  EXPECT_EQ(TProgressWindow().CompletePauseMs(), 100);
}

TEST_F(ProgressWindowTest, StepItStopsOneShortOfMaxUntilComplete) {
  for (int max : {100, 10, 1}) {
    SCOPED_TRACE(max);
    window.SetMax(max);
    window.SetPosition(0);
    for (int i = 0; i < 250; ++i) window.StepIt();
    EXPECT_EQ(window.Position(), max - 1);
    window.Complete();
    EXPECT_EQ(window.Position(), max);
  }
}

TEST_F(ProgressWindowTest, CompleteFillsTheBarWithoutAnyStep) {
  window.Show();
  window.SetPosition(0);
  window.Complete();
  EXPECT_EQ(window.Position(), window.Max());
  window.Close();
}

// The full bar is held by a timer, not by stopping the program: Complete
// returns with the hold running, a Close takes effect when it is over, and a
// loop that shows the window again in the meantime keeps it up.
TEST_F(ProgressWindowTest, CompleteHoldsTheFullBarWhileTheProgramGoesOn) {
  window.SetCompletePauseMs(TProgressWindow::kDefaultCompletePauseMs);
  window.Show();
  window.SetPosition(0);
  window.Complete();
  EXPECT_TRUE(window.Holding());
  window.Close();
  EXPECT_TRUE(window.Shown());
  EXPECT_EQ(window.Position(), window.Max());
  testing::SaveScreenshot(window, "progress_window_complete");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Shown(); }, 5000));

  window.Show();
  window.Complete();
  window.Close();
  window.Show();  // the next loop
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Holding(); }, 5000));
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.Shown());
  window.Close();
  EXPECT_FALSE(window.Shown());
}

TEST_F(ProgressWindowTest, ShownFollowsShowAndClose) {
  EXPECT_FALSE(window.Shown());
  window.Show();
  EXPECT_TRUE(window.Shown());
  EXPECT_TRUE(window.isVisible());
  window.Close();
  EXPECT_FALSE(window.Shown());
  EXPECT_FALSE(window.isVisible());
  window.Show();
  window.hide();
  EXPECT_FALSE(window.Shown());
  // Escape does not take the window away from a running loop.
  window.Show();
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_TRUE(window.Shown());
  window.Close();
}

TEST_F(ProgressWindowTest, OpensCentredOnTheDesktop) {
  const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
  for (int showing = 0; showing < 2; ++showing) {
    window.move(0, 0);
    window.Show();
    testing::Settle();
    const QRect frame = window.frameGeometry();
    EXPECT_EQ(frame.left(), desktop.left() + (desktop.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), desktop.top() + (desktop.height() - frame.height()) / 2);
    window.Close();
  }
}

TEST_F(ProgressWindowTest, ABufferPlacementLeavesItFullAndClosed) {
  for (int pause : {0, TProgressWindow::kDefaultCompletePauseMs}) {
    SCOPED_TRACE(pause);
    window.SetCompletePauseMs(pause);
    DataBuffer buffer;
    testing::FakeMessages messages;
    std::vector<uint8_t> image(0x30000, 0x5A);
    ASSERT_TRUE(buffer.PlaceImageWithFill(image, int64_t(image.size()), 0, 0, messages, window));
    EXPECT_EQ(window.windowTitle(), "Waiting...");
    EXPECT_EQ(window.Position(), window.Max());
    // Closed at once without a pause; after the held full bar with one.
    EXPECT_EQ(window.Shown(), pause > 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Shown(); }, 5000));
  }
}

}  // namespace
}  // namespace quenlet
