#include "buffer/hex_view.h"

#include <algorithm>

#include "buffer/data_buffer.h"
#include "platform/hex_digit.h"

namespace quenlet {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int64_t kLastSevenDigitAddress = 0xFFFFFFF;

CellText Hex(uint32_t value, int digits) {
  CellText text;
  text.size = static_cast<uint8_t>(digits);
  for (int i = digits - 1; i >= 0; --i) {
    text.chars[size_t(i)] = kHexDigits[value & 0xF];
    value >>= 4;
  }
  return text;
}

CellText Char(uint8_t byte) {
  CellText text;
  text.chars[0] = static_cast<char>(byte);
  text.size = 1;
  return text;
}

bool IsControl(uint32_t c) {
  return c < 0x20 || c == 0x7F;
}

bool IsAsciiAlnum(uint32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A typed character as a hex digit: a-f upper-cased, anything else "0".
char AsHexDigit(uint32_t c) {
  const char ch = static_cast<char>(c);
  if (c > 0x7F || HexDigitValue(ch) < 0) return '0';
  return ch >= 'a' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

int64_t ParseHex(std::string_view digits) {
  int64_t value = 0;
  for (char c : digits) value = value * 16 + std::max(HexDigitValue(c), 0);
  return value;
}

}  // namespace

HexView::HexView(DataBuffer& buffer) : buffer_(buffer) {}

bool HexView::HasBytes() const {
  return buffer_.HasBuffer();
}

int64_t HexView::Size() const {
  return HasBytes() ? int64_t(buffer_.BufSize()) : 0;
}

int HexView::AddressDigits() const {
  return Size() - 1 > kLastSevenDigitAddress ? 8 : 7;
}

int HexView::Columns(HexGrid grid) const {
  switch (grid) {
    case HexGrid::Address8:
    case HexGrid::Address16:
      return AddressDigits();
    case HexGrid::Hex16:
      return kBytesPerRow / 2;
    case HexGrid::Hex8:
    case HexGrid::Char8:
    case HexGrid::Char16:
      break;
  }
  return kBytesPerRow;
}

// ---- rows -------------------------------------------------------------------

int64_t HexView::LastStartRow() const {
  const int64_t rows = (Size() + kBytesPerRow - 1) / kBytesPerRow;
  return std::max<int64_t>(0, rows - kScreenRows);
}

int64_t HexView::MaxTopRow() const {
  // The address jump may start the view at size - 240, one row further than
  // a full screen allows; its last row is then blank.
  const int64_t jump_row = Size() >= 240 ? (Size() - 240) / kBytesPerRow : 0;
  return std::max(LastStartRow(), jump_row);
}

int64_t HexView::TopRow() const {
  const int64_t row = int64_t(buffer_.ViewPage()) * kPageRows + buffer_.ViewTopRow();
  return std::clamp<int64_t>(row, 0, MaxTopRow());
}

int64_t HexView::BarPosition() const {
  return std::min(TopRow(), LastStartRow());
}

void HexView::SetTopRow(int64_t row) {
  if (!HasBytes()) return;
  row = std::clamp<int64_t>(row, 0, MaxTopRow());
  buffer_.SetViewPage(static_cast<int32_t>(row / kPageRows));
  buffer_.SetViewTopRow(static_cast<int32_t>(row % kPageRows));
}

int64_t HexView::RowOffset(int grid_row) const {
  return (TopRow() + grid_row - 1) * kBytesPerRow;
}

int64_t HexView::Scroll(ScrollCode code, int64_t position) {
  if (!HasBytes()) return 0;
  const int64_t row = TopRow();
  // Down moves toward the last full screen and never back from a jump past it.
  const auto down = [&](int64_t rows) {
    SetTopRow(std::max(row, std::min(row + rows, LastStartRow())));
  };
  switch (code) {
    case ScrollCode::LineUp:
      SetTopRow(row - 1);
      break;
    case ScrollCode::LineDown:
      down(1);
      break;
    case ScrollCode::PageUp:
      SetTopRow(row - kPageStep);
      break;
    case ScrollCode::PageDown:
      down(kPageStep);
      break;
    case ScrollCode::EndScroll:
      SetTopRow(std::clamp<int64_t>(position, 0, LastStartRow()));
      break;
  }
  return BarPosition();
}

int HexView::Wheel(int angle_delta) {
  if (!HasBytes() || angle_delta == 0) return 0;
  if (wheel_gathered_ != 0 && (wheel_gathered_ > 0) != (angle_delta > 0)) wheel_gathered_ = 0;
  wheel_gathered_ += angle_delta;
  const int notches = wheel_gathered_ / kWheelNotch;
  wheel_gathered_ -= notches * kWheelNotch;
  const int64_t row = TopRow();
  const int64_t rows = int64_t(notches) * kWheelRows;
  if (notches > 0) SetTopRow(row - rows);
  if (notches < 0) SetTopRow(std::max(row, std::min(row - rows, LastStartRow())));
  return notches;
}

// ---- cells ------------------------------------------------------------------

int64_t HexView::CellOffset(HexGrid grid, int row, int column) const {
  if (row < 1 || row > kScreenRows || column < 0 || column >= Columns(grid)) return -1;
  int64_t offset = RowOffset(row);
  switch (grid) {
    case HexGrid::Address8:
    case HexGrid::Address16:
      return -1;
    case HexGrid::Hex8:
    case HexGrid::Char8:
      offset += column;
      break;
    case HexGrid::Hex16:
      offset += 2 * column;
      break;
    case HexGrid::Char16:
      // The high byte of each word is shown first.
      offset += column ^ 1;
      break;
  }
  return offset < Size() ? offset : -1;
}

CellText HexView::AddressCell(HexGrid grid, int row, int column) const {
  const int digits = AddressDigits();
  if (!HasBytes() || column < 0 || column >= digits) return {};
  int64_t address = RowOffset(row);
  if (grid == HexGrid::Address16) address /= 2;
  // One digit per cell, the most significant first.
  return Hex(static_cast<uint32_t>(address >> (4 * (digits - 1 - column))), 1);
}

CellText HexView::Cell(HexGrid grid, int row, int column) const {
  if (row == 0) {
    switch (grid) {
      case HexGrid::Hex8:
        return Hex(uint32_t(column), 2);
      case HexGrid::Char8:
        return Hex(uint32_t(column), 1);
      case HexGrid::Hex16:
        return Hex(uint32_t(column), 4);
      case HexGrid::Char16:
        return column % 2 == 1 ? Hex(uint32_t((column - 1) / 2), 1) : CellText{};
      case HexGrid::Address8:
      case HexGrid::Address16:
        return {};
    }
  }
  if (row < 1 || row > kScreenRows) return {};
  if (IsAddressGrid(grid)) return AddressCell(grid, row, column);
  const int64_t offset = CellOffset(grid, row, column);
  if (offset < 0) return {};
  const uint8_t* bytes = buffer_.Bytes().data();
  switch (grid) {
    case HexGrid::Hex8:
      return Hex(bytes[offset], 2);
    case HexGrid::Hex16: {
      // High byte first; a word whose high byte lies past the end shows
      // only its low byte.
      const bool whole = offset + 1 < Size();
      CellText text = Hex((whole ? uint32_t(bytes[offset + 1]) << 8 : 0) | bytes[offset], 4);
      if (!whole) text.chars[0] = text.chars[1] = ' ';
      return text;
    }
    default:
      return Char(bytes[offset]);
  }
}

// ---- selection --------------------------------------------------------------

void HexView::Select(HexGrid grid, int row, int column) {
  ViewSelection& view = ViewOf(grid);
  row = std::clamp(row, 1, kScreenRows);
  column = std::clamp(column, 0, Columns(grid) - 1);
  if (row != view.row || column != SelectedColumn(grid) || view.focus != grid) CancelEntry();
  view.row = row;
  view.focus = grid;
  if (IsAddressGrid(grid)) {
    view.address_column = column;
  } else {
    view.data_column = grid == HexGrid::Hex16 ? 2 * column : column;
  }
}

int HexView::SelectedColumn(HexGrid grid) const {
  const ViewSelection& view = ViewOf(grid);
  if (IsAddressGrid(grid)) return std::min(view.address_column, Columns(grid) - 1);
  return grid == HexGrid::Hex16 ? view.data_column / 2 : view.data_column;
}

void HexView::Advance(HexGrid grid) {
  ViewSelection& view = ViewOf(grid);
  int row = view.row;
  int column = SelectedColumn(grid) + 1;
  if (IsAddressGrid(grid)) {
    column = std::min(column, Columns(grid) - 1);
  } else if (column == Columns(grid)) {
    column = 0;
    row = row == kScreenRows ? 1 : row + 1;
  }
  Select(grid, row, column);
}

// ---- typing -----------------------------------------------------------------

HexView::Typed HexView::Type(HexGrid grid, uint32_t character) {
  if (!HasBytes() || character > 0xFF || IsControl(character)) return Typed::Ignored;
  ViewOf(grid).focus = grid;
  if (IsAddressGrid(grid)) {
    if (!IsAsciiAlnum(character)) return Typed::Ignored;
    return TypeAddress(grid, AsHexDigit(character));
  }
  if (!MayWrite()) {
    CancelEntry();
    return Typed::Ignored;
  }
  if (grid == HexGrid::Hex8 || grid == HexGrid::Hex16) return TypeHex(grid, AsHexDigit(character));
  const int row = SelectedRow(grid);
  if (!WriteByteAtCell(grid, SelectedColumn(grid), row, static_cast<uint8_t>(character))) {
    return Typed::Ignored;
  }
  Advance(grid);
  return Typed::Stored;
}

HexView::Typed HexView::TypeHex(HexGrid grid, char digit) {
  const int row = SelectedRow(grid);
  const int column = SelectedColumn(grid);
  if (CellOffset(grid, row, column) < 0) return Typed::Ignored;
  if (entry_grid_ != grid) entry_size_ = 0;
  entry_grid_ = grid;
  entry_[entry_size_++] = digit;
  const size_t needed = grid == HexGrid::Hex8 ? 2 : 4;
  if (entry_size_ < needed) return Typed::Pending;
  const auto value = static_cast<uint32_t>(ParseHex(Entry()));
  entry_size_ = 0;
  if (grid == HexGrid::Hex8) {
    WriteByteAtCell(grid, column, row, static_cast<uint8_t>(value));
  } else {
    WriteWordAtCell(column, row, static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value));
  }
  Advance(grid);
  return Typed::Stored;
}

HexView::Typed HexView::TypeAddress(HexGrid grid, char digit) {
  const int row = SelectedRow(grid);
  const int column = SelectedColumn(grid);
  std::array<char, 8> digits{};
  const int count = AddressDigits();
  for (int i = 0; i < count; ++i) digits[size_t(i)] = AddressCell(grid, row, i).chars[0];
  digits[size_t(column)] = digit;
  JumpTo(AddressForRow(grid, row, {digits.data(), size_t(count)}));
  Advance(grid);
  return Typed::Jumped;
}

void HexView::Backspace() {
  if (entry_size_ > 0) --entry_size_;
}

bool HexView::WriteByteAtCell(HexGrid grid, int column, int row, uint8_t byte) {
  if (grid != HexGrid::Hex8 && grid != HexGrid::Char8 && grid != HexGrid::Char16) return false;
  const int64_t offset = CellOffset(grid, row, column);
  if (offset < 0) return false;
  buffer_.Bytes()[size_t(offset)] = byte;
  modified_ = true;
  return true;
}

bool HexView::WriteWordAtCell(int column, int row, uint8_t high, uint8_t low) {
  const int64_t offset = CellOffset(HexGrid::Hex16, row, column);
  if (offset < 0) return false;
  const auto bytes = buffer_.Bytes();
  bytes[size_t(offset)] = low;
  if (offset + 1 < Size()) bytes[size_t(offset) + 1] = high;
  modified_ = true;
  return true;
}

int64_t HexView::AddressForRow(HexGrid grid, int row, std::string_view digits) const {
  int64_t address = ParseHex(digits);
  if (grid == HexGrid::Address16) address *= 2;
  address = std::max<int64_t>(0, address - int64_t(row - 1) * kBytesPerRow);
  if (address > Size() - 256) address = std::max<int64_t>(0, Size() - 240);
  return address;
}

void HexView::JumpTo(int64_t address) {
  SetTopRow(address / kBytesPerRow);
}

}  // namespace quenlet
