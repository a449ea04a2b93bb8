// The fuse-map editor window on the offscreen platform: what it shows for a
// large and a narrow map, the grid's keys acting on the map through the
// window, hostile geometry, the fill dialog, the checksum buttons, and
// screenshots of its main states.
#include "ui/buffer/fuse_editor_window.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "device/selected_device.h"
#include "platform/strprintf.h"
#include "state/main_form_state.h"
#include "support/fake_fuse_host.h"
#include "support/fakes.h"
#include "ui/buffer/pal_fill_dialog.h"
#include "ui/controls/pal_show_box.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

void Screenshot(QWidget& widget, const char* name) {
  EXPECT_TRUE(testing::SaveScreenshot(widget, name)) << name;
}

// Runs `act` on the fill dialog once `open` has shown it; a dialog still
// open after a few seconds is closed so that a failing test cannot hang.
void WithFillDialog(const std::function<void()>& open,
                    const std::function<void(TPalFillDataForm&)>& act) {
  bool acted = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<TPalFillDataForm*>(QApplication::activeModalWidget());
    if (dialog == nullptr || acted) return;
    acted = true;
    act(*dialog);
  });
  poll.start(10);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  guard.start(5000);
  open();
  EXPECT_TRUE(acted);
}

class FuseEditorWindowTest : public ::testing::Test, protected testing::FuseEditorParts {
 protected:
  Tform2& Open(uint32_t count, uint32_t columns, uint32_t rows, int32_t intact = 0) {
    Geometry(count, columns, rows, 24, intact);
    window_ = std::make_unique<Tform2>(Links());
    window_->InitFuseMap();
    window_->show();
    return *window_;
  }
  QAbstractButton* Button(const char* name) const {
    auto* button = window_->findChild<QAbstractButton*>(name);
    EXPECT_NE(button, nullptr) << name;
    return button;
  }
  std::string Jump() const { return window_->JumpEdit()->text().toStdString(); }
  void FocusCell(int x, int y) {
    window_->PalShowBox1()->SetFocusX(x);
    window_->PalShowBox1()->SetFocusY(y);
  }
  void Key(int key) { QTest::keyClick(window_->PalShowBox1(), static_cast<Qt::Key>(key)); }

  std::unique_ptr<Tform2> window_;
};

TEST_F(FuseEditorWindowTest, ShowsAWindowOfALargeMap) {
  Tform2& w = Open(5892, 44, 132, 1);
  EXPECT_EQ(w.SquareLabel()->text(), "Square : 0044 * 0132 ");
  EXPECT_EQ(w.Bitmap0Label()->text(), "-->Blown.[0 Key]");
  EXPECT_EQ(w.BigMap1Label()->text(), "-->Intact.[1 Key]");
  EXPECT_EQ(w.PalScrollBar_H()->maximum(), 20);
  EXPECT_EQ(w.PalScrollBar_V()->maximum(), 132 - 8 + 6);
  EXPECT_EQ(w.PalScrollBar_V()->pageStep(), 7);
  EXPECT_EQ(w.PalScrollBar_H()->pageStep(), 23);
  EXPECT_EQ(w.PalShowBox1()->Colls_W(), 24);
  EXPECT_EQ(w.PalShowBox1()->Colls_H(), 8);
  EXPECT_EQ(Jump(), "00000000");
  EXPECT_EQ(w.XLabel()->text(), "X : 0000     Y : 0000");

  for (size_t n = 0; n < 5892; ++n) map.SetFuse(n, (n / 44 + n % 44) % 7 < 3);
  w.PalScrollBar_V()->setValue(40);  // as the operator scrolls
  w.PalScrollBar_H()->setValue(11);
  for (int r = 0; r < 8; ++r) {
    EXPECT_EQ(w.FuseAddStringGrid()->item(r, 0)->text().toStdString(),
              strprintf("%08d", (40 + r) * 44 + 11));
    for (int c = 0; c < 24; ++c) {
      ASSERT_EQ(w.PalShowBox1()->ReadArrValue(r, c), map.Fuse((40 + r) * 44 + 11 + c));
    }
  }
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  w.JumpEdit()->setText("2000");
  QTest::mouseClick(Button("Jump_buttom"), Qt::LeftButton);
  EXPECT_TRUE(w.PalShowBox1()->hasFocus());
  EXPECT_EQ(Jump(), "00002000");
  EXPECT_EQ(w.XLabel()->text(), "X : 0020     Y : 0045");
  Screenshot(w, "fuse_editor_large");

  // The jump edit's rule: no more than the last fuse, digits only.
  w.JumpEdit()->setText("99999");
  EXPECT_EQ(Jump(), "00005891");
  w.JumpEdit()->setText("12x");
  EXPECT_EQ(Jump(), "12");
}

TEST_F(FuseEditorWindowTest, GridKeysEditAndWrapThroughTheMap) {
  Tform2& w = Open(5892, 44, 132);
  Key(Qt::Key_1);
  EXPECT_EQ(map.Fuse(0), 1);
  EXPECT_EQ(Jump(), "00000001");
  Key(Qt::Key_Space);
  EXPECT_EQ(map.Fuse(1), 1);
  EXPECT_EQ(Jump(), "00000002");

  for (int y = 0; y < 8; ++y) {
    SCOPED_TRACE(y);
    w.PalScrollBar_V()->setValue(10);
    w.PalScrollBar_H()->setValue(0);
    FocusCell(0, y);
    const int first = (10 + y) * 44;
    EXPECT_EQ(Jump(), strprintf("%08d", first));
    Key(Qt::Key_Left);
    EXPECT_EQ(Jump(), strprintf("%08d", first - 1));
    Key(Qt::Key_Right);
    EXPECT_EQ(Jump(), strprintf("%08d", first));
  }
  // Down on the grid's last row scrolls one row, up on its first row back.
  w.PalScrollBar_V()->setValue(10);
  FocusCell(3, 7);
  Key(Qt::Key_Down);
  EXPECT_EQ(w.PalScrollBar_V()->value(), 11);
  EXPECT_EQ(Jump(), strprintf("%08d", 18 * 44 + 3));
  FocusCell(3, 0);
  Key(Qt::Key_Up);
  EXPECT_EQ(w.PalScrollBar_V()->value(), 10);
}

TEST_F(FuseEditorWindowTest, NarrowMapShowsNoCellsPastItsColumns) {
  Tform2& w = Open(160, 16, 10);
  for (size_t n = 0; n < 160; n += 5) map.SetFuse(n, 1);
  w.DrawFuseView();
  EXPECT_EQ(w.PalScrollBar_H()->maximum(), 0);
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 24; ++c) {
      ASSERT_EQ(w.PalShowBox1()->ReadArrValue(r, c), c < 16 ? map.Fuse(r * 16 + c) : 2);
    }
  }
  Key(Qt::Key_End);
  EXPECT_EQ(w.PalShowBox1()->Focus_X(), 15);
  // Right on the map's last column goes on to the next row's first fuse;
  // on the grid's last row the view scrolls a row to show it. Typing a fuse
  // there moves on the same way.
  FocusCell(14, 2);
  Key(Qt::Key_Right);
  EXPECT_EQ(Jump(), "00000047");
  Key(Qt::Key_Right);
  EXPECT_EQ(Jump(), "00000048");
  FocusCell(15, 7);
  Key(Qt::Key_1);
  EXPECT_EQ(map.Fuse(127), 1);
  EXPECT_EQ(Jump(), "00000128");
  EXPECT_EQ(w.PalScrollBar_V()->value(), 1);
  // The last fuse goes nowhere.
  w.JumpEdit()->setText("159");
  QTest::mouseClick(Button("Jump_buttom"), Qt::LeftButton);
  Key(Qt::Key_Right);
  EXPECT_EQ(Jump(), "00000159");
  Screenshot(w, "fuse_editor_small");
}

// Device files may list more fuses than rows x columns (2194 fuses, 44
// columns, 40 rows): the jump and the wrap reach them without moving the
// view past the vertical bar, which stays where the view is.
TEST_F(FuseEditorWindowTest, FusesPastRowsTimesColumnsStayWithinTheBar) {
  Tform2& w = Open(2194, 44, 40);
  auto expect_view = [&](int row_origin, int column_origin) {
    EXPECT_EQ(w.PalScrollBar_V()->value(), row_origin);
    EXPECT_LE(row_origin, w.PalScrollBar_V()->maximum());
    EXPECT_EQ(w.FuseAddStringGrid()->item(0, 0)->text().toStdString(),
              strprintf("%08d", row_origin * 44 + column_origin));
  };
  w.JumpEdit()->setText("2155");  // the last fuse of row 48
  QTest::mouseClick(Button("Jump_buttom"), Qt::LeftButton);
  expect_view(41, 20);
  Key(Qt::Key_Right);
  EXPECT_EQ(Jump(), "00002156");
  expect_view(42, 0);
  w.JumpEdit()->setText("2193");
  QTest::mouseClick(Button("Jump_buttom"), Qt::LeftButton);
  EXPECT_EQ(Jump(), "00002193");
  expect_view(42, 14);
  // The bar moves on from where the view is.
  w.PalScrollBar_V()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  expect_view(41, 14);
}

TEST_F(FuseEditorWindowTest, HostileGeometryGivesTheBoxAndAnEditorWithoutMap) {
  Tform2& w = Open(5892, 0xFFFFFFFFu, 132);
  ASSERT_EQ(messages.texts(), std::vector<std::string>{"'' maybe error.."});
  EXPECT_EQ(w.GetFuseMapHandle(), nullptr);
  messages.boxes.clear();
  for (int key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_End, Qt::Key_PageDown, Qt::Key_1,
                  Qt::Key_Down, Qt::Key_Up}) {
    Key(key);
  }
  QTest::mouseClick(Button("Full_data"), Qt::LeftButton);  // no map: no dialog
  QTest::mouseClick(Button("Jump_buttom"), Qt::LeftButton);
  EXPECT_TRUE(messages.boxes.empty());
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 24; ++c) ASSERT_EQ(w.PalShowBox1()->ReadArrValue(r, c), 2);
  }
}

TEST_F(FuseEditorWindowTest, FillDialogChecksAndFills) {
  Tform2& w = Open(5892, 44, 132);
  WithFillDialog([&] { QTest::mouseClick(Button("Full_data"), Qt::LeftButton); },
                 [&](TPalFillDataForm& dialog) {
                   EXPECT_EQ(dialog.windowTitle(), "Fill Data");
                   EXPECT_EQ(dialog.Edit1()->text(), "0000000");
                   EXPECT_EQ(dialog.Edit2()->text(), "0005891");
                   EXPECT_EQ(dialog.FillGroup()->checkedId(), 0);
                   Screenshot(dialog, "fuse_fill_dialog");
                   // Only digits and A-F reach the edit; the rule keeps the digits.
                   dialog.Edit1()->selectAll();
                   QTest::keyClicks(dialog.Edit1(), "1az0.0");
                   EXPECT_EQ(dialog.Edit1()->text(), "100");
                   dialog.Edit2()->setText("99");
                   dialog.findChild<QPushButton*>("BitBtn1")->click();
                   EXPECT_EQ(messages.texts(), std::vector<std::string>{"Input Value Error !"});
                   EXPECT_TRUE(dialog.isVisible());
                   dialog.findChild<QPushButton*>("MaxBtn")->click();
                   EXPECT_EQ(dialog.Edit1()->text(), "00000000");
                   EXPECT_EQ(dialog.Edit2()->text(), "00005891");
                   dialog.FillGroup()->button(1)->click();
                   dialog.findChild<QPushButton*>("BitBtn1")->click();
                 });
  EXPECT_EQ(std::vector<uint8_t>(map.Fuses().begin(), map.Fuses().end()),
            std::vector<uint8_t>(5892, 1));
  for (int c = 0; c < 24; ++c) EXPECT_EQ(w.PalShowBox1()->ReadArrValue(0, c), 1);
  Screenshot(w, "fuse_editor_after_fill");

  // Escape is Exit: nothing is filled.
  WithFillDialog([&] { QTest::mouseClick(Button("Full_data"), Qt::LeftButton); },
                 [&](TPalFillDataForm& dialog) {
                   EXPECT_EQ(dialog.FillGroup()->checkedId(), 1);
                   dialog.FillGroup()->button(0)->click();
                   QTest::keyClick(&dialog, Qt::Key_Escape);
                 });
  EXPECT_EQ(map.Fuse(0), 1);
}

TEST_F(FuseEditorWindowTest, SumAndOkShowTheChecksum) {
  Tform2& w = Open(64, 8, 8);
  map.SetFuse(0, 1);
  QTest::mouseClick(Button("check_sum"), Qt::LeftButton);
  EXPECT_EQ(host.sum, "00000001");
  EXPECT_TRUE(host.sum_red);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].caption, "Get Check Sum");
  map.SetFuse(1, 1);
  QTest::mouseClick(Button("GAL_Image6"), Qt::LeftButton);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(host.sum, "00000003");
  EXPECT_EQ(messages.boxes.size(), 1u);  // OK shows no box
}

TEST_F(FuseEditorWindowTest, EveryButtonHasItsNameAndADeviceReadRedraws) {
  Open(64, 8, 8);
  for (const char* name : {"SUM", "Fill", "OK", "Jump", "Load JED File.", "Save JED File."}) {
    bool found = false;
    for (QAbstractButton* b : window_->findChildren<QAbstractButton*>()) {
      found = found || b->accessibleName() == name;
    }
    EXPECT_TRUE(found) << name;
  }
  map.SetFuse(9, 1);
  map.NotifyChanged();  // what a device read does
  EXPECT_EQ(window_->PalShowBox1()->ReadArrValue(1, 1), 1);
  window_.reset();
  map.NotifyChanged();  // the map outlives its window
}

}  // namespace
}  // namespace quenlet
