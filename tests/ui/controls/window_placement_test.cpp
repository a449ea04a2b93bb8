// The placement rule over given rectangles, and a window placed on the
// offscreen screens with the frame a window manager adds.
#include "ui/controls/window_placement.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QWidget>

#include "ui/dialog_script.h"
#include "ui/offscreen_screens.h"

namespace quenlet {
namespace {

const QRect kSmall(0, 0, 1024, 600);
const QRect kLarge(0, 0, 2560, 1440);
const QSize kMain(554, 429);

struct Case {
  const char* what;
  QRect work_area;
  QRect main_frame;
  QSize frame;
  WindowPlacement how;
  QPoint expected;
};

TEST(PlacedFrame, KeepsTheOffsetOnlyInsideTheMainWindowAndAlwaysInsideTheWorkArea) {
  const QRect centred_small(QPoint(235, 85), kMain);
  const QRect centred_large(QPoint(1003, 505), kMain);
  const QPoint option_offset(12, 54);
  // clang-format off
  const Case cases[] = {
      {"an offset that fits is kept", kSmall, centred_small, {534, 366},
       WindowPlacement::AtOffset(nullptr, option_offset), {247, 139}},
      {"...on the large screen too", kLarge, centred_large, {534, 366},
       WindowPlacement::AtOffset(nullptr, option_offset), {1015, 559}},
      {"a fit to the pixel at the right and bottom edges", kSmall, centred_small, {542, 375},
       WindowPlacement::AtOffset(nullptr, option_offset), {247, 139}},
      {"one pixel past the right edge: centred over the main window", kSmall, centred_small,
       {543, 375}, WindowPlacement::AtOffset(nullptr, option_offset), {240, 112}},
      {"past the right and bottom edges: centred", kLarge, centred_large, {520, 400},
       WindowPlacement::AtOffset(nullptr, {95, 55}), {1020, 519}},
      {"taller than the main window: centred, past it above and below", kSmall, centred_small,
       {520, 493}, WindowPlacement::AtOffset(nullptr, {95, 55}), {252, 53}},
      {"centred over a main window in the corner, then inside the screen", kSmall,
       QRect(QPoint(470, 171), kMain), {520, 493}, WindowPlacement::AtOffset(nullptr, {95, 55}),
       {487, 107}},
      {"a main window half off the screen: the offset is kept, then moved in", kSmall,
       QRect(QPoint(-200, 300), kMain), {294, 263}, WindowPlacement::AtOffset(nullptr, {130, 55}),
       {0, 337}},
      {"over the main window without an offset", kSmall, QRect(QPoint(700, 20), kMain),
       {500, 331}, WindowPlacement::OverMainWindow(nullptr), {524, 69}},
      {"no main window: centred on the work area, halves toward zero", kSmall, QRect(), {241, 33},
       WindowPlacement::OverMainWindow(nullptr), {391, 283}},
      {"on the screen, wherever the main window is", kLarge, QRect(QPoint(0, 0), kMain), {244, 57},
       WindowPlacement::OnScreen(nullptr), {1158, 691}},
      {"larger than the work area: its top-left corner stays on it", QRect(0, 24, 800, 576),
       centred_small, {900, 700}, WindowPlacement::OverMainWindow(nullptr), {0, 24}},
      {"a work area below a panel: moved below it", QRect(0, 32, 1024, 568),
       QRect(QPoint(235, 0), kMain), {534, 366}, WindowPlacement::OverMainWindow(nullptr),
       {245, 32}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QRect placed = PlacedFrame(c.frame, c.work_area, c.main_frame, c.how);
    EXPECT_EQ(placed.topLeft(), c.expected);
    EXPECT_EQ(placed.size(), c.frame);
    if (c.frame.width() <= c.work_area.width() && c.frame.height() <= c.work_area.height()) {
      EXPECT_TRUE(c.work_area.contains(placed));
    }
  }
}

// A window with a title bar is placed by its frame (the offscreen platform
// frames it with 2 pixels a side, as a window manager would), on the
// screen the main window is on.
TEST(PlaceWindow, PlacesTheFrameOnTheMainWindowsScreen) {
  for (QScreen* screen : {testing::SmallScreen(), testing::LargeScreen()}) {
    ASSERT_NE(screen, nullptr);
    SCOPED_TRACE(screen->name().toStdString());
    const QRect work = screen->availableGeometry();
    QWidget main_window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    main_window.setFixedSize(kMain);
    main_window.move(work.right() - 300, work.bottom() - 300);  // partly off the screen
    main_window.show();
    QDialog dialog(&main_window);
    dialog.setFixedSize(520, 400);
    PlaceWindow(dialog, WindowPlacement::AtOffset(&main_window, {95, 55}));
    dialog.show();
    testing::Settle();
    const QRect frame = dialog.frameGeometry();
    EXPECT_EQ(frame.size(), QSize(524, 404));
    EXPECT_EQ(frame, PlacedFrame(frame.size(), work, main_window.frameGeometry(),
                                 WindowPlacement::AtOffset(&main_window, {95, 55})));
    EXPECT_TRUE(work.contains(frame));
    EXPECT_EQ(dialog.screen(), screen);
  }
}

}  // namespace
}  // namespace quenlet
