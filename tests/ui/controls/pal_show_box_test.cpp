// The fuse-grid control on the offscreen platform: construction and setters,
// the key table, the mouse, and when it reports its focus.
#include "ui/controls/pal_show_box.h"

#include <gtest/gtest.h>
#include <QTest>

#include <string>
#include <vector>

namespace quenlet {
namespace {

// Every signal of the control as a line: "Change 0 0 1", "Right 3 1", ...
struct Recorder {
  explicit Recorder(TPalShowBox& box) {
    auto add = [this](const char* name) {
      return [this, name](int x, int y) { lines.push_back(Line(name, x, y)); };
    };
    QObject::connect(&box, &TPalShowBox::Change, [this](int x, int y, int v) {
      lines.push_back(Line("Change", x, y) + " " + std::to_string(v));
    });
    QObject::connect(&box, &TPalShowBox::CurrentChange, [this](int x, int y) {
      ++reports;
      last_report = {x, y};
    });
    QObject::connect(&box, &TPalShowBox::LeftEvent, add("Left"));
    QObject::connect(&box, &TPalShowBox::RightEvent, add("Right"));
    QObject::connect(&box, &TPalShowBox::BarUpEvent, add("BarUp"));
    QObject::connect(&box, &TPalShowBox::BarDownEvent, add("BarDown"));
    QObject::connect(&box, &TPalShowBox::PageUpEvent, add("PageUp"));
    QObject::connect(&box, &TPalShowBox::PageDownEvent, add("PageDown"));
  }
  static std::string Line(const char* name, int x, int y) {
    return std::string(name) + " " + std::to_string(x) + " " + std::to_string(y);
  }
  void Clear() {
    lines.clear();
    reports = 0;
  }
  std::vector<std::string> lines;
  int reports = 0;
  std::pair<int, int> last_report{-1, -1};
};

TEST(PalShowBox, NewControlAndItsSetters) {
  TPalShowBox box;
  Recorder record(box);
  EXPECT_EQ(box.Colls_W(), 10);
  EXPECT_EQ(box.Colls_H(), 6);
  EXPECT_EQ(box.size(), QSize(40, 40));
  for (int r = 0; r < TPalShowBox::kMaxRows; ++r) {
    for (int c = 0; c < TPalShowBox::kMaxColumns; ++c) {
      ASSERT_EQ(box.ReadArrValue(r, c), r < 6 && c < 10 ? 0 : 2) << r << "," << c;
    }
  }
  for (auto [r, c] : {std::pair{-1, 0}, {0, -1}, {30, 0}, {0, 50}, {-100000, -7}}) {
    EXPECT_EQ(box.ReadArrValue(r, c), 0) << r << "," << c;
  }
  box.DrawAll();
  EXPECT_EQ(box.size(), QSize(16 * 10 + 4, 16 * 6 + 4));
  EXPECT_EQ(record.last_report, std::make_pair(0, 0));

  for (int bad : {50, 0, -1}) box.SetWColls(bad);
  for (int bad : {30, 0, -3}) box.SetHColls(bad);
  EXPECT_EQ(box.Colls_W(), 10);
  EXPECT_EQ(box.Colls_H(), 6);
  box.SetArrValue(2, 3, 1);
  box.SetWColls(24);
  for (int r = 0; r < TPalShowBox::kMaxRows; ++r) {
    for (int c = 0; c < TPalShowBox::kMaxColumns; ++c) {
      ASSERT_EQ(box.ReadArrValue(r, c), r < 6 && c < 24 ? 0 : 2) << r << "," << c;
    }
  }
  box.SetArrValue(0, 0, 3);
  box.SetArrValue(30, 0, 1);
  box.SetArrValue(-1, 0, 1);
  box.SetArrValue(29, 49, 1);
  EXPECT_EQ(box.ReadArrValue(0, 0), 0);
  EXPECT_EQ(box.ReadArrValue(29, 49), 1);

  box.SetFocusX(23);
  box.SetFocusX(24);
  box.SetFocusX(-1);
  EXPECT_EQ(box.Focus_X(), 23);
  box.SetWColls(4);  // the focus stays on the narrower grid
  EXPECT_EQ(box.Focus_X(), 3);

  // Painting never reports; DrawAll always does.
  record.Clear();
  (void)box.grab();
  EXPECT_EQ(record.reports, 0);
}

struct KeyCase {
  const char* name;
  int x, y;  // focus before
  int key;
  int focus_x, focus_y;
  std::vector<std::string> reports;          // signals other than the focus report
  std::vector<std::pair<int, int>> changed;  // cells that now hold the other value
  bool repaints = true;
};

// 4 x 3 cells:  0 1 2 2
//               1 0 0 1
//               2 2 2 2
class PalShowBoxKeys : public ::testing::TestWithParam<KeyCase> {
 protected:
  static constexpr int kCells[3][4] = {{0, 1, 2, 2}, {1, 0, 0, 1}, {2, 2, 2, 2}};
  void SetUp() override {
    box_.SetWColls(4);
    box_.SetHColls(3);
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 4; ++c) box_.SetArrValue(r, c, kCells[r][c]);
    }
  }
  TPalShowBox box_;
};

TEST_P(PalShowBoxKeys, Key) {
  const KeyCase& k = GetParam();
  box_.SetFocusX(k.x);
  box_.SetFocusY(k.y);
  Recorder record(box_);
  QTest::keyClick(&box_, static_cast<Qt::Key>(k.key));
  EXPECT_EQ(box_.Focus_X(), k.focus_x);
  EXPECT_EQ(box_.Focus_Y(), k.focus_y);
  EXPECT_EQ(record.lines, k.reports);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      const bool changed =
          std::find(k.changed.begin(), k.changed.end(), std::pair{c, r}) != k.changed.end();
      const int expected = changed ? 1 - kCells[r][c] : kCells[r][c];
      EXPECT_EQ(box_.ReadArrValue(r, c), expected) << r << "," << c;
    }
  }
  EXPECT_EQ(record.reports > 0, k.repaints);
  if (k.repaints) {
    EXPECT_EQ(record.last_report, std::make_pair(k.focus_x, k.focus_y));
  }
}

void PrintTo(const KeyCase& k, std::ostream* os) {
  *os << k.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PalShowBoxKeys,
    ::testing::Values(
        KeyCase{"EndStopsBeforeTheFirstNoCell", 0, 0, Qt::Key_End, 1, 0, {}, {}},
        KeyCase{"RightBeforeANoCellReports", 1, 0, Qt::Key_Right, 1, 0, {"Right 1 0"}, {}, false},
        KeyCase{"RightMoves", 1, 1, Qt::Key_Right, 2, 1, {}, {}},
        KeyCase{"RightOnTheLastColumnReports", 3, 1, Qt::Key_Right, 3, 1, {"Right 3 1"}, {}, false},
        KeyCase{"SpaceTogglesAndMovesOn", 0, 0, Qt::Key_Space, 1, 0, {"Change 0 0 1"}, {{0, 0}}},
        KeyCase{"SpaceOnTheLastColumnReportsRight",
                3,
                1,
                Qt::Key_Space,
                3,
                1,
                {"Change 3 1 0", "Right 3 1"},
                {{3, 1}}},
        KeyCase{"ReturnToggles", 1, 1, Qt::Key_Return, 2, 1, {"Change 1 1 1"}, {{1, 1}}},
        KeyCase{"SpaceOnANoCellChangesNothing", 2, 2, Qt::Key_Space, 2, 2, {}, {}},
        KeyCase{"OneSetsAndMovesOn", 1, 1, Qt::Key_1, 2, 1, {"Change 1 1 1"}, {{1, 1}}},
        KeyCase{"ZeroSetsAndMovesOn", 0, 1, Qt::Key_0, 1, 1, {"Change 0 1 0"}, {{0, 1}}},
        KeyCase{"OneOnANoCellChangesNothing", 2, 0, Qt::Key_1, 2, 0, {}, {}},
        KeyCase{"UpOnTheFirstRowReports", 1, 0, Qt::Key_Up, 1, 0, {"BarUp 1 0"}, {}},
        KeyCase{"UpMoves", 1, 1, Qt::Key_Up, 1, 0, {}, {}},
        KeyCase{"DownMoves", 0, 0, Qt::Key_Down, 0, 1, {}, {}},
        KeyCase{"DownOntoANoCellReports", 0, 1, Qt::Key_Down, 0, 1, {"BarDown 0 1"}, {}},
        KeyCase{"DownOnTheLastRowReports", 3, 2, Qt::Key_Down, 3, 2, {"BarDown 3 2"}, {}},
        KeyCase{"LeftOnTheFirstColumnReports", 0, 1, Qt::Key_Left, 0, 1, {"Left 0 1"}, {}},
        KeyCase{"LeftMoves", 2, 1, Qt::Key_Left, 1, 1, {}, {}},
        KeyCase{"HomeGoesToTheFirstColumn", 3, 1, Qt::Key_Home, 0, 1, {}, {}},
        KeyCase{"EndOnARowOfNoCellsStays", 2, 2, Qt::Key_End, 2, 2, {}, {}},
        KeyCase{"PageDownGoesToTheLastCellOfTheColumn", 1, 0, Qt::Key_PageDown, 1, 1, {}, {}},
        KeyCase{"PageDownOnAColumnStartingWithNoCellStays", 2, 0, Qt::Key_PageDown, 2, 0, {}, {}},
        KeyCase{"PageDownOnTheLastRowReports", 0, 2, Qt::Key_PageDown, 0, 2, {"PageDown 0 2"}, {}},
        KeyCase{"PageUpGoesToTheFirstRow", 1, 1, Qt::Key_PageUp, 1, 0, {}, {}},
        KeyCase{"PageUpOnTheFirstRowReports", 1, 0, Qt::Key_PageUp, 1, 0, {"PageUp 1 0"}, {}},
        KeyCase{"OtherKeysOnlyRepaint", 1, 1, Qt::Key_A, 1, 1, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PalShowBox, MouseMeasuresInsideTheFrameAndStaysOnTheGrid) {
  TPalShowBox box;
  box.SetWColls(4);
  box.SetHColls(3);
  box.SetArrValue(0, 2, 2);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  Recorder record(box);
  struct Press {
    QPoint at;
    int x, y;
  };
  // 34 / 16 would be column 2; inside the frame it is column 1.
  for (const Press& p : {Press{{34, 4}, 1, 0}, Press{{box.width() - 1, box.height() - 1}, 3, 2},
                         Press{{1, 1}, 0, 0}, Press{{3 + 16 * 3, 3 + 16}, 3, 1}}) {
    QTest::mousePress(&box, Qt::LeftButton, {}, p.at);
    QTest::mouseRelease(&box, Qt::LeftButton, {}, p.at);
    EXPECT_EQ(box.Focus_X(), p.x) << p.at.x() << "," << p.at.y();
    EXPECT_EQ(box.Focus_Y(), p.y) << p.at.x() << "," << p.at.y();
  }
  // A double click (press, release, double click, as the system sends it)
  // toggles a cell, and leaves a no-cell alone.
  auto double_click = [&](QPoint at) {
    QTest::mouseClick(&box, Qt::LeftButton, {}, at);
    QTest::mouseDClick(&box, Qt::LeftButton, {}, at);
  };
  double_click({3 + 8, 3 + 8});
  EXPECT_EQ(box.ReadArrValue(0, 0), 1);
  double_click({3 + 16 * 2 + 8, 3 + 8});
  EXPECT_EQ(box.ReadArrValue(0, 2), 2);
  EXPECT_EQ(record.lines, std::vector<std::string>{"Change 0 0 1"});
}

}  // namespace
}  // namespace quenlet
