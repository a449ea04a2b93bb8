// The buffer editor window on the offscreen platform: typing through the
// grids, the bars and the wheel over both views, coalesced repaints, the
// information page, the popup and buttons, closing; and its screenshots.
#include "ui/buffer/main_edit.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

#include "buffer/data_buffer.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/buffer/hex_grid.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

using testing::FakeMessages;

constexpr int64_t k16MiB = 16ll * 1024 * 1024;

class MainEditTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    state.ProgramDir = dir_.string() + "/";
    edit = std::make_unique<TMainEdit>(buffer, state, messages, progress);
    edit->show();
    edit->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(edit.get()));
  }
  void TearDown() override {
    edit.reset();
    TempDirTest::TearDown();
  }

  THexGrid* Grid(HexGrid grid) { return edit->Grid(grid); }
  void ClickCell(HexGrid grid, int row, int column) {
    const QPoint at = Grid(grid)->CellRect(row, column).center().toPoint();
    QTest::mouseClick(Grid(grid), Qt::LeftButton, {}, at);
  }
  void WheelOver(QWidget* widget, int delta) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
  }
  void Resize(int64_t n) { ASSERT_TRUE(buffer.ResizeBuffer(n, messages)); }
  std::string Ini(const char* section, const char* key) {
    return IniFile(Path("History_1.ini")).ReadString(section, key, "<none>");
  }
  QAction* MenuAction(const char* name) { return edit->PopupMenu()->findChild<QAction*>(name); }

  DataBuffer buffer;
  MainFormState state;
  FakeMessages messages;
  NullProgress progress;
  std::unique_ptr<TMainEdit> edit;
};

TEST_F(MainEditTest, IsTheDumpEditWindowWithItsPagesGridsAndCommands) {
  EXPECT_EQ(edit->windowTitle(), "Dump Edit");
  EXPECT_EQ(edit->size(), QSize(535, 305));
  QTabWidget* pages = edit->MainEditPage();
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "8 Bits");
  EXPECT_EQ(pages->tabText(1), "16 Bits");
  EXPECT_EQ(pages->tabText(2), "Buffer Info");
  for (const char* name : {"AddressGB8bit", "HexCodeSG8bit", "ASCIICode8bitSG", "AddressSG16Bit",
                           "HexCodeSG16Bit", "ASCIICode16BisSG"}) {
    auto* grid = edit->findChild<THexGrid*>(name);
    ASSERT_NE(grid, nullptr) << name;
    EXPECT_FALSE(grid->accessibleName().isEmpty()) << name;
  }
  for (const char* name : {"ByteSwapButton", "WordSwapButton", "DoubleSwapButton"}) {
    auto* button = edit->findChild<QToolButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_FALSE(button->accessibleName().isEmpty());
  }
  for (const char* name : {"LoadFile", "SaveFile", "GetSum", "FillData", "Block", "Resize",
                           "Search", "SearchNext", "All", "Even", "Odd", "SwapByte"}) {
    EXPECT_NE(MenuAction(name), nullptr) << name;
  }
  EXPECT_FALSE(MenuAction("All")->isEnabled());
  EXPECT_FALSE(MenuAction("Search")->isEnabled());
  EXPECT_EQ(MenuAction("SwapByte")->text(), "Swap Byte");
  // Opening: the data-set mode is remembered for the option pages.
  EXPECT_EQ(Ini("CommonParameterSet", "CommonDataSelect"), "0");
  EXPECT_EQ(buffer.HistoryIniPath(), Path("History_1.ini"));
}

TEST_F(MainEditTest, KeystrokesTypedIntoTheGridsReachTheBuffer) {
  ClickCell(HexGrid::Hex8, 2, 3);
  QTest::keyClicks(Grid(HexGrid::Hex8), "1g");  // the first keystroke counts
  EXPECT_EQ(buffer.Bytes()[16 + 3], 0x10);
  EXPECT_EQ(edit->View().SelectedColumn(HexGrid::Char8), 4) << "the twin follows";

  edit->MainEditPage()->setCurrentIndex(TMainEdit::kEdit16BitSheet);
  ClickCell(HexGrid::Char16, 1, 0);
  QTest::keyClicks(Grid(HexGrid::Char16), "A");
  EXPECT_EQ(buffer.Bytes()[1], 0x41);
  ClickCell(HexGrid::Hex16, 3, 2);
  QTest::keyClicks(Grid(HexGrid::Hex16), "12a");
  QTest::keyClick(Grid(HexGrid::Hex16), Qt::Key_Backspace);
  QTest::keyClicks(Grid(HexGrid::Hex16), "bc");
  EXPECT_EQ(buffer.Bytes()[32 + 4], 0xBC);
  EXPECT_EQ(buffer.Bytes()[32 + 5], 0x12);
  QTest::keyClick(Grid(HexGrid::Hex16), Qt::Key_Down);
  EXPECT_EQ(edit->View().SelectedRow(HexGrid::Char16), 4);
}

TEST_F(MainEditTest, AddressDigitsTypedIntoTheAddressGridMoveBothBars) {
  Resize(k16MiB);
  ClickCell(HexGrid::Address8, 1, 2);
  QTest::keyClicks(Grid(HexGrid::Address8), "1");
  EXPECT_EQ(edit->View().RowOffset(1), 0x0010000);
  EXPECT_EQ(edit->Edit8BitScrollBar()->value(), 0x1000);
  EXPECT_EQ(edit->Edit16BitScrollBar()->value(), 0x1000);
}

TEST_F(MainEditTest, WheelMovesBothViewsOncePerFullNotch) {
  Resize(k16MiB);
  struct Step {
    HexGrid over;
    int delta;
    int64_t row;
  };
  const Step steps[] = {
      {HexGrid::Char16, -120, 16},  // one notch over the 16-bit characters moves both views
      {HexGrid::Hex8, -240, 48},    // two notches in one event move two screens
      {HexGrid::Address8, -30, 48}, {HexGrid::Address8, -30, 48},
      {HexGrid::Address8, -30, 48}, {HexGrid::Address8, -30, 64},  // a touchpad's small steps
      {HexGrid::Hex16, 120, 48},
  };
  for (const Step& s : steps) {
    WheelOver(Grid(s.over), s.delta);
    EXPECT_EQ(edit->View().TopRow(), s.row) << s.delta;
    EXPECT_EQ(edit->Edit8BitScrollBar()->value(), s.row);
    EXPECT_EQ(edit->Edit16BitScrollBar()->value(), s.row);
  }
  WheelOver(edit->Edit8BitScrollBar(), -120);  // over a bar as over the grids
  EXPECT_EQ(edit->View().TopRow(), 64);
}

// A digit typed before the view moved does not complete a byte after it,
// however the view was moved.
TEST_F(MainEditTest, AHalfTypedByteDoesNotSurviveAMoveOfTheView) {
  Resize(k16MiB);
  QScrollBar* bar = edit->Edit8BitScrollBar();
  struct Move {
    const char* name;
    std::function<void()> act;
  };
  const Move moves[] = {
      {"wheel", [&] { WheelOver(Grid(HexGrid::Hex8), -120); }},
      {"bar dragged",
       [&] {
         bar->setSliderDown(true);
         bar->setSliderPosition(bar->value() + 0x900);
         bar->setSliderDown(false);
       }},
      {"bar paged", [&] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
      {"Page Down", [&] { QTest::keyClick(Grid(HexGrid::Hex8), Qt::Key_PageDown); }},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.name);
    ClickCell(HexGrid::Hex8, 2, 3);
    QTest::keyClicks(Grid(HexGrid::Hex8), "4");
    const int64_t row = edit->View().TopRow();
    m.act();
    ASSERT_NE(edit->View().TopRow(), row);
    QTest::keyClicks(Grid(HexGrid::Hex8), "2");
    EXPECT_EQ(edit->View().Entry(), "2");
    const auto bytes = buffer.Bytes();
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), int64_t(bytes.size()));
    edit->View().CancelEntry();
  }
}

// Page Up and Down, Home and End and, with Ctrl, the buffer's start and end
// from the keyboard in both views; the bars follow, and each grid's
// accessible description names the rows shown and the selected cell.
TEST_F(MainEditTest, KeysPageTheViewAndTheGridsSayWhere) {
  Resize(k16MiB);
  auto bytes = buffer.Bytes();
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 37 + (i >> 4));
  const char text[] = "Page Down moves one screen.";
  std::copy(std::begin(text), std::end(text) - 1, bytes.begin() + 0x120);
  auto description = [&](HexGrid grid) {
    return QAccessible::queryAccessibleInterface(Grid(grid))
        ->text(QAccessible::Description)
        .toStdString();
  };
  auto key = [&](HexGrid grid, Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(Grid(grid), k, modifiers);
  };
  auto expect_at = [&](int64_t top, int row, int column) {
    EXPECT_EQ(edit->View().TopRow(), top);
    EXPECT_EQ(edit->Edit8BitScrollBar()->value(), top);
    EXPECT_EQ(edit->Edit16BitScrollBar()->value(), top);
    EXPECT_EQ(edit->View().SelectedRow(HexGrid::Hex8), row);
    EXPECT_EQ(edit->View().SelectedColumn(HexGrid::Hex8), column);
  };
  const int64_t last = edit->View().LastStartRow();

  ClickCell(HexGrid::Hex8, 3, 5);
  EXPECT_EQ(description(HexGrid::Hex8),
            "Bytes 0000000 to 00000FF, 0000025: " + strprintf("%02X", bytes[0x25]));
  key(HexGrid::Hex8, Qt::Key_PageDown);
  expect_at(16, 3, 5);
  EXPECT_EQ(description(HexGrid::Hex8), "Bytes 0000100 to 00001FF, 0000125: 44");
  EXPECT_EQ(description(HexGrid::Char8), "Bytes 0000100 to 00001FF, 0000125: 'D' 44");
  EXPECT_TRUE(testing::SaveScreenshot(*edit, "main_edit_after_page_down"));
  key(HexGrid::Hex8, Qt::Key_End);
  expect_at(16, 3, 15);
  key(HexGrid::Char8, Qt::Key_Home);
  expect_at(16, 3, 0);
  key(HexGrid::Hex8, Qt::Key_End, Qt::ControlModifier);
  expect_at(last, 16, 15);
  key(HexGrid::Hex8, Qt::Key_PageDown);  // no further than the bars go
  expect_at(last, 16, 15);
  key(HexGrid::Hex8, Qt::Key_PageUp);
  expect_at(last - 16, 16, 15);
  key(HexGrid::Hex8, Qt::Key_Home, Qt::ControlModifier);
  expect_at(0, 1, 0);

  // The 16-bit view pages the same shared row and names word addresses.
  edit->MainEditPage()->setCurrentIndex(TMainEdit::kEdit16BitSheet);
  ClickCell(HexGrid::Hex16, 2, 1);
  key(HexGrid::Hex16, Qt::Key_PageDown);
  key(HexGrid::Hex16, Qt::Key_PageDown);
  EXPECT_EQ(edit->View().TopRow(), 32);
  EXPECT_EQ(edit->Edit8BitScrollBar()->value(), 32);
  EXPECT_EQ(description(HexGrid::Hex16).substr(0, 35), "Words 0000100 to 000017F, 0000109: ");
  key(HexGrid::Hex16, Qt::Key_End);
  EXPECT_EQ(edit->View().SelectedColumn(HexGrid::Hex16), 7);
  EXPECT_EQ(edit->View().SelectedColumn(HexGrid::Char16), 14);
}

TEST_F(MainEditTest, BarsRangeOverTheLastStartRowAndFollowEachOther) {
  Resize(k16MiB);
  QScrollBar* bar8 = edit->Edit8BitScrollBar();
  QScrollBar* bar16 = edit->Edit16BitScrollBar();
  const int last = int(edit->View().LastStartRow());
  EXPECT_EQ(bar8->maximum(), last);
  EXPECT_EQ(bar16->maximum(), last);

  bar16->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(edit->View().TopRow(), 15);
  EXPECT_EQ(bar8->value(), 15);
  bar8->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(bar16->value(), 16);
  bar8->triggerAction(QAbstractSlider::SliderToMaximum);
  bar8->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(edit->View().TopRow(), last);
  EXPECT_EQ(bar16->value(), last);

  // Dragging moves the view only when the thumb is let go.
  bar16->setSliderDown(true);
  bar16->setSliderPosition(0x9000);
  EXPECT_EQ(edit->View().TopRow(), last);
  bar16->setSliderDown(false);
  EXPECT_EQ(edit->View().TopRow(), 0x9000);
  EXPECT_EQ(buffer.ViewPage(), 1);
  EXPECT_EQ(buffer.ViewTopRow(), 0x9000 - 0x7FFF);
  EXPECT_EQ(bar8->value(), 0x9000);

  int position = 5;
  edit->Edit8BitScrollBarScroll(8, position);
  EXPECT_EQ(bar16->value(), 5);

  // A resize takes the view back to the top and the bars to the new size.
  Resize(0);
  EXPECT_EQ(bar8->maximum(), 64 - 16);
  EXPECT_EQ(bar8->value(), 0);
}

// Paint events a widget received.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};

// A device read refreshes the editor once per 64 KB block and lets the
// queue run between blocks: 8192 blocks within one second of the throttle's
// clock paint the grids about 20 times, and the last refresh is painted
// once its interval is over.
TEST_F(MainEditTest, RefreshesAreCoalescedToOnePaintPer50Milliseconds) {
  using Clock = RepaintThrottle::Clock;
  Clock::time_point now{};
  edit->SetClock([&] { return now; });
  QTest::qWait(60);  // nothing pending from the opening
  PaintCounter hex(Grid(HexGrid::Hex8));
  for (int i = 0; i < 8192; ++i) {
    now = Clock::time_point{} + std::chrono::microseconds(1'000'000ll * i / 8192);
    edit->RefreshView();
    QCoreApplication::processEvents();
  }
  const int painted = hex.paints;
  EXPECT_LE(painted, 20);
  EXPECT_GE(painted, 19);
  QTest::qWait(60);
  EXPECT_EQ(hex.paints, painted) << "painted before the interval was over";
  now += RepaintThrottle::kInterval;
  QTRY_COMPARE_WITH_TIMEOUT(hex.paints, painted + 1, 1000);
}

TEST_F(MainEditTest, InformationPageShowsTheLoadAndTheStoredSums) {
  IniFile(Path("History_1.ini")).WriteString("LoadDlg", "Format", "6");
  buffer.Bytes()[5] = 0x80;
  buffer.GetCheckSum(0, 0xFF, 0, messages, progress);
  buffer.SetFileStartAdd(0x40);
  buffer.SetFileSize(0x1040);
  edit->MainEditPage()->setCurrentIndex(TMainEdit::kBufInfSheet);
  auto text = [&](const char* name) {
    auto* label = edit->findChild<QLabel*>(name);
    return label ? label->text() : QString("<missing>");
  };
  EXPECT_EQ(text("LastLoadFileNameLabel"), "None");
  EXPECT_EQ(text("FileFormatLabel"), "Tektlonix HEX");
  // The sum lines read as they stand, caption and value side by side.
  auto row = [&](const char* name) {
    auto* label = edit->findChild<QLabel*>(name);
    if (!label) return QString("<missing>");
    auto* grid = static_cast<QGridLayout*>(label->parentWidget()->layout());
    int r = 0, c = 0, rs = 0, cs = 0;
    grid->getItemPosition(grid->indexOf(label), &r, &c, &rs, &cs);
    auto* caption = static_cast<QLabel*>(grid->itemAtPosition(r, 0)->widget());
    return caption->text() + " " + label->text();
  };
  EXPECT_EQ(row("CheckSumLabel"), "Check Sum : 00000080 H");
  EXPECT_EQ(row("SumSaddLabel"), "Get Sum Range : 0000000H <---> 00000FFH");
  EXPECT_EQ(text("BufSizeLabel"), "0002000");
  EXPECT_EQ(text("StartAddLabel"), "0000040");
  EXPECT_EQ(text("EndAddressLabel"), "0001040");
}

TEST_F(MainEditTest, SwapButtonsAndDataSetItemsWorkOnTheWholeBuffer) {
  buffer.Bytes()[0] = 0x01;
  buffer.Bytes()[1] = 0x02;
  QTest::mouseClick(edit->findChild<QToolButton*>("ByteSwapButton"), Qt::LeftButton);
  EXPECT_EQ(buffer.Bytes()[0], 0x02);
  EXPECT_EQ(buffer.Bytes()[1], 0x01);
  EXPECT_EQ(buffer.DataMode(), 0) << "the swap buttons keep the data-set mode";
  MenuAction("Odd")->trigger();
  EXPECT_EQ(buffer.DataMode(), kDataOddBytes);
  EXPECT_EQ(buffer.Bytes()[0], 0x01);
  EXPECT_EQ(edit->ReturnDataMode(), kDataOddBytes);
}

TEST_F(MainEditTest, PopupCommandsCallTheirHooksAndRefreshTheActivePage) {
  std::vector<std::string> ran;
  TMainEdit::Commands commands;
  commands.Block = [&] {
    ran.push_back("Block");
    buffer.SetFileSize(0x77);
  };
  commands.GetSum = [&] { ran.push_back("GetSum"); };
  edit->SetCommands(commands);
  edit->MainEditPage()->setCurrentIndex(TMainEdit::kBufInfSheet);
  MenuAction("Block")->trigger();
  MenuAction("GetSum")->trigger();
  MenuAction("LoadFile")->trigger();  // no hook yet: nothing happens
  EXPECT_EQ(ran, (std::vector<std::string>{"Block", "GetSum"}));
  EXPECT_EQ(edit->findChild<QLabel*>("EndAddressLabel")->text(), "0000077");

  QTest::mouseClick(edit->findChild<QWidget*>("Options"), Qt::LeftButton);
  EXPECT_TRUE(edit->PopupMenu()->isVisible());
  edit->PopupMenu()->close();
}

TEST_F(MainEditTest, ClosingAfterTypingAsksAndCancelKeepsTheWindow) {
  int closed = 0;
  edit->SetCloseHandler([&] { ++closed; });
  buffer.SetDataMode(kDataEvenBytes);
  edit->hide();
  edit->show();
  EXPECT_EQ(Ini("CommonParameterSet", "CommonDataSelect"), "1");

  ClickCell(HexGrid::Char8, 1, 0);
  QTest::keyClicks(Grid(HexGrid::Char8), "x");
  ASSERT_TRUE(edit->View().Modified());
  messages.answers = {MessageResult::Cancel};
  EXPECT_FALSE(edit->close());
  EXPECT_TRUE(edit->isVisible());
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Are you sure to close file ?");
  EXPECT_EQ(messages.boxes[0].caption, "CLOSE");
  EXPECT_EQ(messages.boxes[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(closed, 0);

  messages.answers = {MessageResult::Ok};
  EXPECT_TRUE(edit->close());
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(Ini("CommonParameterSet", "CommonDataSelect"), "0");
}

TEST_F(MainEditTest, ClosingUntouchedAsksNothing) {
  EXPECT_TRUE(edit->close());
  EXPECT_TRUE(messages.boxes.empty());
}

// ---- screenshots -------------------------------------------------------------

TEST_F(MainEditTest, Screenshots) {
  Resize(0x10000);
  const char text[] = "Quenlet buffer editor: 8-bit and 16-bit views of the data buffer.";
  auto bytes = buffer.Bytes();
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 37 + (i >> 4));
  std::copy(std::begin(text), std::end(text) - 1, bytes.begin() + 0x120);
  edit->View().SetTopRow(0x10);
  IniFile ini(Path("History_1.ini"));
  ini.WriteString("LoadDlg", "Name", "/home/operator/images/27C512.hex");
  ini.WriteString("LoadDlg", "Format", "4");
  buffer.GetCheckSum(0, 0xFFFF, 0, messages, progress);
  buffer.SetFileSize(0x10000);

  ClickCell(HexGrid::Hex8, 3, 5);
  QTest::keyClicks(Grid(HexGrid::Hex8), "4");  // a digit waiting for its twin
  edit->RefreshView();
  EXPECT_TRUE(testing::SaveScreenshot(*edit, "main_edit_8bit"));

  edit->MainEditPage()->setCurrentIndex(TMainEdit::kEdit16BitSheet);
  ClickCell(HexGrid::Char16, 4, 6);
  EXPECT_TRUE(testing::SaveScreenshot(*edit, "main_edit_16bit"));

  edit->View().JumpTo(0xFFFFFFF);  // the end: the last row is blank
  edit->RefreshView();
  EXPECT_TRUE(testing::SaveScreenshot(*edit, "main_edit_16bit_end"));

  edit->MainEditPage()->setCurrentIndex(TMainEdit::kBufInfSheet);
  EXPECT_TRUE(testing::SaveScreenshot(*edit, "main_edit_information"));
}

}  // namespace
}  // namespace quenlet
