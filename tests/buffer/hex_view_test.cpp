// The hex editor's view core: cell texts, typing, scrolling, the address
// jump, the bounds at the buffer's end, the wheel and the information page.
#include "buffer/hex_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "buffer/buffer_info.h"
#include "buffer/data_buffer.h"
#include "platform/ini_file.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

using testing::FakeMessages;

constexpr int64_t k16MiB = 16ll * 1024 * 1024;

std::string Text(const HexView& view, HexGrid grid, int row, int column) {
  return std::string(view.Cell(grid, row, column).view());
}

void TypeText(HexView& view, HexGrid grid, const std::string& text) {
  for (unsigned char c : text) view.Type(grid, c);
}

// A buffer of n + 1024 bytes whose byte i holds i * 7 + 3 (mod 256).
class HexViewTest : public ::testing::Test {
 protected:
  void Resize(int64_t n) {
    ASSERT_TRUE(buffer.ResizeBuffer(n, messages));
    auto bytes = buffer.Bytes();
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + 3);
  }
  std::vector<uint8_t> BlockCopy() const { return {buffer.Block().begin(), buffer.Block().end()}; }

  FakeMessages messages;
  DataBuffer buffer;
  HexView view{buffer};
};

TEST_F(HexViewTest, HeaderRowsNameTheColumns) {
  struct Case {
    HexGrid grid;
    int column;
    const char* text;
  };
  const Case cases[] = {
      {HexGrid::Hex8, 0, "00"},    {HexGrid::Hex8, 15, "0F"},  {HexGrid::Char8, 10, "A"},
      {HexGrid::Hex16, 7, "0007"}, {HexGrid::Char16, 0, ""},   {HexGrid::Char16, 1, "0"},
      {HexGrid::Char16, 15, "7"},  {HexGrid::Address8, 0, ""}, {HexGrid::Address16, 6, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(view, c.grid, 0, c.column), c.text) << int(c.grid) << " column " << c.column;
  }
}

TEST_F(HexViewTest, CellsShowTheRowsBytesInBothViews) {
  Resize(0x10000);
  view.SetTopRow(0x123);
  const int64_t row3 = (0x123 + 2) * 16;
  EXPECT_EQ(view.RowOffset(3), row3);
  const uint8_t* b = buffer.Bytes().data() + row3;
  auto hex2 = [](uint8_t v) {
    char s[3];
    snprintf(s, sizeof s, "%02X", v);
    return std::string(s);
  };
  EXPECT_EQ(Text(view, HexGrid::Hex8, 3, 5), hex2(b[5]));
  EXPECT_EQ(Text(view, HexGrid::Char8, 3, 5), std::string(1, char(b[5])));
  // The 16-bit view shows the high (odd) byte of each word first.
  EXPECT_EQ(Text(view, HexGrid::Hex16, 3, 2), hex2(b[5]) + hex2(b[4]));
  EXPECT_EQ(Text(view, HexGrid::Char16, 3, 4), std::string(1, char(b[5])));
  EXPECT_EQ(Text(view, HexGrid::Char16, 3, 5), std::string(1, char(b[4])));
  // Address rows: byte address and word address, one digit a cell.
  std::string address8, address16;
  for (int c = 0; c < view.Columns(HexGrid::Address8); ++c) {
    address8 += Text(view, HexGrid::Address8, 3, c);
    address16 += Text(view, HexGrid::Address16, 3, c);
  }
  EXPECT_EQ(address8, "0001250");
  EXPECT_EQ(address16, "0000928");
}

struct TypingCase {
  const char* name;
  HexGrid grid;
  int row, column;
  const char* typed;
  int64_t offset;                 // first byte of the cell, from the view's top
  std::vector<uint8_t> expected;  // bytes from offset on
  const char* shown;              // the cell's text afterwards (nullptr: the old byte)
  int next_row, next_column;      // the selection afterwards
};

class HexViewTyping : public HexViewTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(HexViewTyping, StoresShowsAndMovesOn) {
  const TypingCase& c = GetParam();
  Resize(0x10000);
  view.SetTopRow(0x40);
  view.Select(c.grid, c.row, c.column);
  const std::vector<uint8_t> before = BlockCopy();
  const int64_t at = view.RowOffset(c.row) + c.offset;

  TypeText(view, c.grid, c.typed);

  std::vector<uint8_t> after = BlockCopy();
  for (size_t i = 0; i < c.expected.size(); ++i) {
    EXPECT_EQ(after[size_t(at) + i], c.expected[i]) << "byte " << i;
    after[size_t(at) + i] = before[size_t(at) + i];
  }
  EXPECT_EQ(after, before) << "bytes outside the cell changed";
  if (c.shown) {
    EXPECT_EQ(Text(view, c.grid, c.row, c.column), c.shown);
  }
  EXPECT_EQ(view.SelectedRow(c.grid), c.next_row);
  EXPECT_EQ(view.SelectedColumn(c.grid), c.next_column);
  EXPECT_EQ(view.Modified(), !c.expected.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cells, HexViewTyping,
    ::testing::Values(
        // The first keystroke after entering the cell counts.
        TypingCase{"HexNonDigitCountsAsZero", HexGrid::Hex8, 1, 0, "1g", 0, {0x10}, "10", 1, 1},
        TypingCase{"HexLowerCase", HexGrid::Hex8, 2, 3, "ab", 3, {0xAB}, "AB", 2, 4},
        TypingCase{"HexOneDigitWaits", HexGrid::Hex8, 2, 3, "7", 3, {}, nullptr, 2, 3},
        TypingCase{"HexWrapsToNextRow", HexGrid::Hex8, 4, 15, "5A", 15, {0x5A}, "5A", 5, 0},
        TypingCase{"HexLastCellWrapsToRowOne", HexGrid::Hex8, 16, 15, "FF", 15, {0xFF}, "FF", 1, 0},
        TypingCase{"WordLowByteEven", HexGrid::Hex16, 1, 0, "12ab", 0, {0xAB, 0x12}, "12AB", 1, 1},
        TypingCase{
            "WordLastWordWraps", HexGrid::Hex16, 3, 7, "beef", 14, {0xEF, 0xBE}, "BEEF", 4, 0},
        TypingCase{"CharStoresAtOnce", HexGrid::Char8, 1, 0, "Z", 0, {0x5A}, "Z", 1, 1},
        TypingCase{"WordCharHighByteFirst", HexGrid::Char16, 1, 0, "A", 1, {0x41}, "A", 1, 1},
        TypingCase{"WordCharLowByteSecond", HexGrid::Char16, 1, 1, "B", 0, {0x42}, "B", 1, 2},
        TypingCase{"LatinOneCharacter", HexGrid::Char8, 1, 2, "\xE9", 2, {0xE9}, "\xE9", 1, 3},
        TypingCase{"ControlCharactersIgnored", HexGrid::Char8, 1, 2, "\t\r", 2, {}, nullptr, 1, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HexViewTest, PendingDigitsShowAndCancelOnAnotherCell) {
  Resize(0x10000);
  view.Select(HexGrid::Hex16, 1, 0);
  TypeText(view, HexGrid::Hex16, "12a");
  EXPECT_EQ(view.Entry(), "12A");
  view.Backspace();
  EXPECT_EQ(view.Entry(), "12");
  view.Select(HexGrid::Hex16, 2, 0);
  EXPECT_EQ(view.Entry(), "");
  TypeText(view, HexGrid::Hex16, "34");  // a fresh entry: no leftovers
  EXPECT_EQ(view.Entry(), "34");
  EXPECT_FALSE(view.Modified());
}

// A half-typed entry belongs to its cell on its screen: whatever moves the
// view drops it, so that the second digit starts a new entry instead of
// completing a byte at another address.
TEST_F(HexViewTest, AnyMoveOfTheViewDropsAHalfTypedEntry) {
  Resize(0x10000);
  struct Move {
    const char* name;
    std::function<void()> act;
  };
  const Move moves[] = {
      {"wheel", [&] { view.Wheel(-120); }},
      {"line down", [&] { view.Scroll(ScrollCode::LineDown, 0); }},
      {"page up", [&] { view.Scroll(ScrollCode::PageUp, 0); }},
      {"bar dragged", [&] { view.Scroll(ScrollCode::EndScroll, 700); }},
      {"address jump", [&] { view.JumpTo(0x5000); }},
      {"page down key", [&] { view.Navigate(HexGrid::Hex8, HexView::Navigation::PageDown); }},
      {"view reset elsewhere",
       [&] {
         buffer.SetViewPage(0);
         buffer.SetViewTopRow(3);
       }},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.name);
    view.SetTopRow(100);
    view.Select(HexGrid::Hex8, 3, 5);
    TypeText(view, HexGrid::Hex8, "4");
    ASSERT_EQ(view.Entry(), "4");
    const std::vector<uint8_t> before = BlockCopy();
    m.act();
    ASSERT_NE(view.TopRow(), 100);
    EXPECT_EQ(view.Entry(), "");
    TypeText(view, HexGrid::Hex8, "2");
    EXPECT_EQ(view.Entry(), "2");
    EXPECT_EQ(BlockCopy(), before);
    view.CancelEntry();
  }
}

TEST_F(HexViewTest, AClosedWriteGateKeepsTheBufferButLetsTheAddressJump) {
  Resize(0x10000);
  bool open = true;
  view.SetWriteGate([&open] { return open; });
  view.Select(HexGrid::Hex8, 1, 0);
  TypeText(view, HexGrid::Hex8, "a");  // half an entry before the gate closes
  open = false;
  const std::vector<uint8_t> before = BlockCopy();
  EXPECT_EQ(view.Type(HexGrid::Hex8, '5'), HexView::Typed::Ignored);
  EXPECT_EQ(view.Entry(), "") << "a refused keystroke drops the half entry";
  for (HexGrid grid : {HexGrid::Hex8, HexGrid::Char8, HexGrid::Hex16, HexGrid::Char16}) {
    view.Select(grid, 1, 0);
    for (char c : std::string("5Zz1234")) {
      EXPECT_EQ(view.Type(grid, uint8_t(c)), HexView::Typed::Ignored) << int(grid) << c;
    }
  }
  EXPECT_EQ(BlockCopy(), before);
  EXPECT_FALSE(view.Modified());
  view.Select(HexGrid::Address8, 1, 3);
  EXPECT_EQ(view.Type(HexGrid::Address8, '1'), HexView::Typed::Jumped);
  EXPECT_EQ(view.RowOffset(1), 0x0001000);

  open = true;
  view.Select(HexGrid::Char8, 1, 0);
  EXPECT_EQ(view.Type(HexGrid::Char8, 'Z'), HexView::Typed::Stored);
  EXPECT_EQ(buffer.Bytes()[0x1000], 'Z');
}

TEST_F(HexViewTest, UnicodeAboveLatinOneIsIgnored) {
  Resize(0x10000);
  view.Select(HexGrid::Char8, 1, 0);
  const uint8_t before = buffer.Bytes()[0];
  EXPECT_EQ(view.Type(HexGrid::Char8, 0x4E2D), HexView::Typed::Ignored);
  EXPECT_EQ(buffer.Bytes()[0], before);
}

TEST_F(HexViewTest, SelectionIsSharedAcrossTheGridsOfAView) {
  view.Select(HexGrid::Hex16, 4, 3);
  EXPECT_EQ(view.SelectedColumn(HexGrid::Char16), 6);
  EXPECT_EQ(view.SelectedRow(HexGrid::Address16), 4);
  view.Select(HexGrid::Char16, 5, 7);
  EXPECT_EQ(view.SelectedColumn(HexGrid::Hex16), 3);
  view.Select(HexGrid::Address16, 9, 2);  // the row only
  EXPECT_EQ(view.SelectedRow(HexGrid::Hex16), 9);
  EXPECT_EQ(view.SelectedColumn(HexGrid::Char16), 7);
  view.Select(HexGrid::Char8, 2, 11);
  EXPECT_EQ(view.SelectedColumn(HexGrid::Hex8), 11);
  EXPECT_EQ(view.SelectedRow(HexGrid::Hex16), 9) << "the views select apart";
  view.Select(HexGrid::Hex8, 0, 99);  // the header row is not selectable
  EXPECT_EQ(view.SelectedRow(HexGrid::Hex8), 1);
  EXPECT_EQ(view.SelectedColumn(HexGrid::Hex8), 15);
}

// ---- scrolling on a 16 MiB + 1024 buffer ------------------------------------

struct ScrollCase {
  const char* name;
  int64_t start_row;  // negative: from the last start row back
  ScrollCode code;
  int64_t position;
  int64_t row;  // expected; negative: from the last start row back
};

class HexViewScroll : public HexViewTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(HexViewScroll, MovesOneLogicalRow) {
  const ScrollCase& c = GetParam();
  Resize(k16MiB);
  const int64_t last = view.LastStartRow();
  ASSERT_EQ(last, (k16MiB + 1024) / 16 - 16);
  auto resolve = [&](int64_t r) { return r < 0 ? last + 1 + r : r; };
  view.SetTopRow(resolve(c.start_row));
  const int64_t bar = view.Scroll(c.code, c.position);
  const int64_t expected = resolve(c.row);
  EXPECT_EQ(view.TopRow(), expected);
  EXPECT_EQ(bar, expected);
  EXPECT_EQ(buffer.ViewPage(), expected / 0x7FFF);
  EXPECT_EQ(buffer.ViewTopRow(), expected % 0x7FFF);
  EXPECT_EQ(view.RowOffset(1), expected * 16);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, HexViewScroll,
    ::testing::Values(
        ScrollCase{"LineDownIntoNextPage", 0x7FFE, ScrollCode::LineDown, 0, 0x7FFF},
        ScrollCase{"LineUpStaysOnItsPage", 3 * 0x7FFF + 5, ScrollCode::LineUp, 0, 3 * 0x7FFF + 4},
        ScrollCase{"LineDownStaysOnItsPage", 3 * 0x7FFF + 5, ScrollCode::LineDown, 0,
                   3 * 0x7FFF + 6},
        ScrollCase{"LineUpAtTop", 0, ScrollCode::LineUp, 0, 0},
        ScrollCase{"LineDownAtEnd", -1, ScrollCode::LineDown, 0, -1},
        ScrollCase{"PageUp", 100, ScrollCode::PageUp, 0, 85},
        ScrollCase{"PageUpNotBelowZero", 7, ScrollCode::PageUp, 0, 0},
        ScrollCase{"PageDown", 100, ScrollCode::PageDown, 0, 115},
        ScrollCase{"PageDownStopsAtLastStartRow", -6, ScrollCode::PageDown, 0, -1},
        ScrollCase{"PageDownAtEnd", -1, ScrollCode::PageDown, 0, -1},
        ScrollCase{"EndScrollTakesThePosition", 5, ScrollCode::EndScroll, 0x12345, 0x12345},
        ScrollCase{"EndScrollClamped", 5, ScrollCode::EndScroll, 1ll << 40, -1},
        ScrollCase{"EndScrollToZero", 3 * 0x7FFF, ScrollCode::EndScroll, 0, 0},
        ScrollCase{"OtherCodesDoNothing", 42, static_cast<ScrollCode>(5), 7, 42}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HexViewTest, WheelActsOncePerFullNotch) {
  Resize(k16MiB);
  view.SetTopRow(1000);
  EXPECT_EQ(view.Wheel(120), 1);
  EXPECT_EQ(view.TopRow(), 1000 - 16);
  EXPECT_EQ(view.Wheel(-240), -2);
  EXPECT_EQ(view.TopRow(), 1000 + 16);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(view.Wheel(-30), 0);
  EXPECT_EQ(view.TopRow(), 1000 + 16);
  EXPECT_EQ(view.Wheel(-30), -1);
  EXPECT_EQ(view.TopRow(), 1000 + 32);
  view.Wheel(-90);
  EXPECT_EQ(view.Wheel(60), 0) << "a change of direction starts afresh";
  EXPECT_EQ(view.Wheel(60), 1);
  EXPECT_EQ(view.TopRow(), 1000 + 16);
  view.SetTopRow(3);
  view.Wheel(120);
  EXPECT_EQ(view.TopRow(), 0);
  view.SetTopRow(view.LastStartRow() - 2);
  view.Wheel(-120);
  EXPECT_EQ(view.TopRow(), view.LastStartRow());
}

// ---- address entry -----------------------------------------------------------

TEST_F(HexViewTest, AddressOfARowIsTypedAddressLessTheRowsDistance) {
  Resize(0x10000);  // BufSize 0x10400
  struct Case {
    HexGrid grid;
    int row;
    const char* digits;
    int64_t address;
  };
  const Case cases[] = {
      {HexGrid::Address8, 1, "0001230", 0x1230},
      {HexGrid::Address8, 3, "0000120", 0x100},
      {HexGrid::Address8, 5, "0000010", 0},  // never below 0
      {HexGrid::Address16, 1, "0000080", 0x100},
      {HexGrid::Address16, 2, "0000088", 0x100},
      {HexGrid::Address8, 1, "0010300", 0x10300},        // size - 256: kept
      {HexGrid::Address8, 1, "0010301", 0x10400 - 240},  // above: size - 240
      {HexGrid::Address8, 1, "FFFFFFF", 0x10400 - 240},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(view.AddressForRow(c.grid, c.row, c.digits), c.address) << c.digits;
  }
}

TEST_F(HexViewTest, TypingAnAddressJumpsAfterEveryDigit) {
  Resize(k16MiB);
  const int64_t size = k16MiB + 1024;
  view.Select(HexGrid::Address8, 1, 0);
  EXPECT_EQ(view.Type(HexGrid::Address8, '0'), HexView::Typed::Jumped);
  EXPECT_EQ(view.Type(HexGrid::Address8, '1'), HexView::Typed::Jumped);
  EXPECT_EQ(view.RowOffset(1), 0x0100000);
  EXPECT_EQ(view.SelectedColumn(HexGrid::Address8), 2);
  view.Type(HexGrid::Address8, 'x');  // a letter that is no digit counts as 0
  view.Type(HexGrid::Address8, 'c');
  EXPECT_EQ(view.RowOffset(1), 0x010C000);
  EXPECT_EQ(view.Type(HexGrid::Address8, '-'), HexView::Typed::Ignored);

  // 0xFFFFFFF in the cells starts the view at size - 240; its last row is blank.
  view.Select(HexGrid::Address8, 1, 0);
  for (int i = 0; i < 7; ++i) view.Type(HexGrid::Address8, 'F');
  EXPECT_EQ(view.RowOffset(1), size - 240);
  EXPECT_EQ(view.SelectedColumn(HexGrid::Address8), 6) << "the last digit keeps the selection";
  EXPECT_FALSE(view.Cell(HexGrid::Hex8, 15, 15).empty());
  for (HexGrid grid : {HexGrid::Hex8, HexGrid::Char8}) {
    for (int c = 0; c < 16; ++c) EXPECT_TRUE(view.Cell(grid, 16, c).empty());
  }
  EXPECT_EQ(view.BarPosition(), view.LastStartRow());
  EXPECT_EQ(view.TopRow(), view.LastStartRow() + 1);
  // Down from there keeps the view; up moves one row.
  view.Scroll(ScrollCode::PageDown, 0);
  EXPECT_EQ(view.RowOffset(1), size - 240);
  view.Scroll(ScrollCode::LineUp, 0);
  EXPECT_EQ(view.TopRow(), view.LastStartRow());
}

TEST_F(HexViewTest, WordAddressGridJumpsToTheDoubledAddress) {
  Resize(0x10000);
  view.Select(HexGrid::Address16, 2, 4);
  view.Type(HexGrid::Address16, '4');  // row 2 reads 0000408 words: byte 0x810, less 16
  EXPECT_EQ(view.RowOffset(1), 0x800);
  EXPECT_EQ(Text(view, HexGrid::Address16, 2, 4), "4");
}

// ---- keys, on a buffer of 1025 bytes: rows 0 to 64, the last start row 49,
// and byte 1024 alone in the last row --------------------------------------

constexpr int64_t kLastStart = 49;

struct NavigationCase {
  const char* name;
  HexGrid grid;
  int64_t top;
  int row, column;
  HexView::Navigation key;
  int64_t top_after;
  int row_after, column_after;
};

class HexViewKeys : public HexViewTest, public ::testing::WithParamInterface<NavigationCase> {};

TEST_P(HexViewKeys, MoveTheViewAndTheSelection) {
  const NavigationCase& c = GetParam();
  Resize(1);
  ASSERT_EQ(view.LastStartRow(), kLastStart);
  view.SetTopRow(c.top);
  view.Select(c.grid, c.row, c.column);
  view.Navigate(c.grid, c.key);
  EXPECT_EQ(view.TopRow(), c.top_after);
  EXPECT_EQ(view.SelectedRow(c.grid), c.row_after);
  EXPECT_EQ(view.SelectedColumn(c.grid), c.column_after);
  EXPECT_EQ(view.FocusGrid(c.grid), c.grid);
}

using Key = HexView::Navigation;
INSTANTIATE_TEST_SUITE_P(
    Table, HexViewKeys,
    ::testing::Values(
        NavigationCase{"PageDownOneScreen", HexGrid::Hex8, 0, 3, 5, Key::PageDown, 16, 3, 5},
        NavigationCase{"PageDownStopsAtTheLastStartRow", HexGrid::Char16, 40, 3, 5, Key::PageDown,
                       kLastStart, 3, 5},
        NavigationCase{"PageDownAtTheEndGoesToTheLastRow", HexGrid::Hex16, kLastStart, 3, 5,
                       Key::PageDown, kLastStart, 16, 5},
        NavigationCase{"PageUpOneScreen", HexGrid::Hex16, 20, 5, 2, Key::PageUp, 4, 5, 2},
        NavigationCase{"PageUpStopsAtTheTop", HexGrid::Address8, 7, 5, 2, Key::PageUp, 0, 5, 2},
        NavigationCase{"PageUpAtTheTopGoesToTheFirstRow", HexGrid::Char8, 0, 9, 2, Key::PageUp, 0,
                       1, 2},
        NavigationCase{"HomeGoesToTheRowsFirstCell", HexGrid::Hex8, 10, 4, 9, Key::RowStart, 10, 4,
                       0},
        NavigationCase{"EndGoesToTheRowsLastCell", HexGrid::Hex8, 10, 4, 9, Key::RowEnd, 10, 4, 15},
        NavigationCase{"EndOfAWordRow", HexGrid::Hex16, 10, 4, 1, Key::RowEnd, 10, 4, 7},
        NavigationCase{"EndOfAnAddressRow", HexGrid::Address16, 10, 4, 1, Key::RowEnd, 10, 4, 6},
        // The last row holds only byte 1024: the 16-bit view shows it second.
        NavigationCase{"EndStopsAtTheLastByte", HexGrid::Char16, kLastStart, 16, 9, Key::RowEnd,
                       kLastStart, 16, 1},
        NavigationCase{"CtrlHomeGoesToTheFirstByte", HexGrid::Char8, 30, 8, 9, Key::BufferStart, 0,
                       1, 0},
        NavigationCase{"CtrlEndGoesToTheLastByte", HexGrid::Hex8, 3, 8, 9, Key::BufferEnd,
                       kLastStart, 16, 0},
        NavigationCase{"CtrlEndInTheWordView", HexGrid::Char16, 3, 8, 9, Key::BufferEnd, kLastStart,
                       16, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HexViewTest, DescriptionNamesTheRowsShownAndTheSelectedCell) {
  Resize(1);
  view.SetTopRow(0x10);
  buffer.Bytes()[0x125] = 'O';
  buffer.Bytes()[0x124] = 0x12;
  struct Case {
    HexGrid grid;
    int row, column;
    const char* text;
  };
  const Case cases[] = {
      {HexGrid::Hex8, 3, 5, "Bytes 0000100 to 00001FF, 0000125: 4F"},
      {HexGrid::Char8, 3, 5, "Bytes 0000100 to 00001FF, 0000125: 'O' 4F"},
      {HexGrid::Char8, 3, 4, "Bytes 0000100 to 00001FF, 0000124: 12"},
      {HexGrid::Hex16, 3, 2, "Words 0000080 to 00000FF, 0000092: 4F12"},
      {HexGrid::Address8, 2, 3, "Bytes 0000100 to 00001FF, row 0000110, digit 4 of 7"},
  };
  for (const Case& c : cases) {
    view.Select(c.grid, c.row, c.column);
    EXPECT_EQ(view.Description(c.grid), c.text);
  }
  view.SetTopRow(kLastStart);
  view.Select(HexGrid::Hex8, 16, 3);
  EXPECT_EQ(view.Description(HexGrid::Hex8),
            "Bytes 0000310 to 0000400, selected cell past the end");
}

// ---- bounds at the end ---------------------------------------------------------

TEST_F(HexViewTest, CellsPastTheEndAreBlankAndTakeNoInput) {
  Resize(0);  // BufSize 1024
  view.JumpTo(0xFFFFFFF);
  const int64_t size = 1024;
  ASSERT_EQ(view.RowOffset(1), size - 240);
  const std::vector<uint8_t> before = BlockCopy();
  int typed_rows = 0;
  for (int row = 1; row <= 16; ++row) {
    if (view.RowOffset(row) < size) continue;
    ++typed_rows;
    for (HexGrid grid : {HexGrid::Hex8, HexGrid::Char8, HexGrid::Hex16, HexGrid::Char16}) {
      for (int c = 0; c < view.Columns(grid); ++c) {
        EXPECT_TRUE(view.Cell(grid, row, c).empty());
        EXPECT_LT(view.CellOffset(grid, row, c), 0);
        view.Select(grid, row, c);
        TypeText(view, grid, "1234");
      }
    }
    EXPECT_FALSE(view.WriteByteAtCell(HexGrid::Hex8, 0, row, 0xEE));
    EXPECT_FALSE(view.WriteWordAtCell(0, row, 0xEE, 0xEE));
  }
  EXPECT_GE(typed_rows, 1);
  EXPECT_EQ(BlockCopy(), before) << "nothing written at or past the end, slack included";
  EXPECT_FALSE(view.Modified());
}

TEST_F(HexViewTest, AWordHalfPastTheEndIsNotWritten) {
  Resize(1);  // BufSize 1025: byte 1024 is the last
  view.SetTopRow(view.LastStartRow());
  const int row = int((1024 - view.RowOffset(1)) / 16) + 1;
  EXPECT_EQ(Text(view, HexGrid::Hex16, row, 0).substr(0, 2), "  ");
  EXPECT_TRUE(view.Cell(HexGrid::Char16, row, 0).empty()) << "byte 1025 is past the end";
  const uint8_t slack = buffer.Block()[1025];
  view.Select(HexGrid::Hex16, row, 0);
  TypeText(view, HexGrid::Hex16, "ABCD");
  EXPECT_EQ(buffer.Bytes()[1024], 0xCD);
  EXPECT_EQ(buffer.Block()[1025], slack);
  EXPECT_EQ(Text(view, HexGrid::Hex16, row, 0), "  CD");
}

TEST_F(HexViewTest, BuffersAbove256MiBShowEightAddressDigits) {
  EXPECT_EQ(view.AddressDigits(), 7);
  Resize(256ll * 1024 * 1024);
  ASSERT_EQ(view.AddressDigits(), 8);
  view.SetTopRow(view.LastStartRow());
  std::string address;
  for (int c = 0; c < view.Columns(HexGrid::Address8); ++c) {
    address += Text(view, HexGrid::Address8, 16, c);
  }
  EXPECT_EQ(address, "100003F0");
  view.Select(HexGrid::Address8, 1, 0);
  TypeText(view, HexGrid::Address8, "08");  // "08" then the row's other digits
  EXPECT_EQ(view.RowOffset(1) >> 24, 0x08);
}

// ---- Buffer Information page ----------------------------------------------------

class BufferInfoTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    buffer.SetHistoryIniPath(Path("History_1.ini"));
  }
  DataBuffer buffer;
};

TEST_F(BufferInfoTest, NamesTheFormatAndDefaultsWithoutALoad) {
  struct Case {
    const char* format;  // nullptr: no key
    const char* name;
  };
  const Case cases[] = {{nullptr, "Auto Detect"},
                        {"0", "Auto Detect"},
                        {"1", "MS-DOS fn.exe"},
                        {"2", "MS-DOS fn.com"},
                        {"3", "Binary / Machine Code"},
                        {"4", "Intel HEX"},
                        {"5", "Motorola HEX"},
                        {"6", "Tektlonix HEX"},
                        {"7", "POF"},
                        {"8", "None"},
                        {"-1", "None"},
                        {"hex", "None"}};
  for (const Case& c : cases) {
    std::filesystem::remove(Path("History_1.ini"));
    if (c.format) IniFile(Path("History_1.ini")).WriteString("LoadDlg", "Format", c.format);
    const BufferInfoTexts texts = ReadBufferInfo(buffer);
    EXPECT_EQ(texts.file_format, c.name) << (c.format ? c.format : "(none)");
    EXPECT_EQ(texts.file_name, "None");
  }
}

TEST_F(BufferInfoTest, ShowsTheStoredSumRangeSizeAndPlacement) {
  FakeMessages messages;
  NullProgress progress;
  IniFile(Path("History_1.ini")).WriteString("LoadDlg", "Name", "/data/rom.hex");
  buffer.Bytes()[0x10] = 0xFF;
  buffer.Bytes()[0x11] = 0x01;
  buffer.GetCheckSum(0x10, 0x1F, 0, messages, progress);
  buffer.SetFileStartAdd(0x100);
  buffer.SetFileSize(-5);
  buffer.Bytes()[0x10] = 0;  // the page shows the stored sum, not a new one

  const BufferInfoTexts texts = ReadBufferInfo(buffer);
  EXPECT_EQ(texts.file_name, "/data/rom.hex");
  // Caption and value make up the program's whole sum lines.
  EXPECT_EQ(texts.check_sum, "00000100 H");
  EXPECT_EQ(texts.sum_range, "0000010H <---> 000001FH");
  EXPECT_EQ(std::string(kCheckSumCaption) + " " + texts.check_sum, "Check Sum : 00000100 H");
  EXPECT_EQ(std::string(kSumRangeCaption) + " " + texts.sum_range,
            "Get Sum Range : 0000010H <---> 000001FH");
  EXPECT_EQ(texts.buffer_size, "0002000");
  EXPECT_EQ(texts.start_address, "0000100");
  EXPECT_EQ(texts.end_address, "0000000");
  buffer.SetFileSize(0x1234);
  EXPECT_EQ(ReadBufferInfo(buffer).end_address, "0001234");
}

}  // namespace
}  // namespace quenlet
