#pragma once
// The hex editor's view of the data buffer, without any window: which rows
// the six grids show, the text of every cell, the selection the grids share,
// the typing rules of the hex, character and address cells, and the wheel.
//
// One logical row, the first buffer row on screen, drives both the 8-bit and
// the 16-bit view. The buffer's stored ViewPage and ViewTopRow (pages of
// 0x7FFF rows) are derived from it, so every caller of the view fields sees
// the same place.
//
// Nothing here costs in proportion to the buffer: a cell reads at most two
// bytes, a scroll or a jump is a few integer operations.
//
// Cells at or past the buffer's end are blank and take no input; a word half
// past the end is never written. Without a buffer (allocation failed) every
// cell is blank and every handler does nothing.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace quenlet {

class DataBuffer;

enum class HexGrid : int { Address8 = 0, Hex8, Char8, Address16, Hex16, Char16 };
inline constexpr int kHexGridCount = 6;

// The scroll bars' event codes.
enum class ScrollCode : int { LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3, EndScroll = 8 };

// Up to four characters of one cell, with no allocation.
struct CellText {
  std::array<char, 4> chars{};
  uint8_t size = 0;
  std::string_view view() const { return {chars.data(), size}; }
  bool empty() const { return size == 0; }
};

class HexView {
 public:
  static constexpr int kGridRows = 17;  // row 0 is the header
  static constexpr int kScreenRows = 16;
  static constexpr int kBytesPerRow = 16;
  static constexpr int64_t kPageRows = 0x7FFF;
  static constexpr int kPageStep = 15;     // page up/down of the bars and keys
  static constexpr int kWheelNotch = 120;  // wheel units of one notch
  static constexpr int kWheelRows = 16;    // one notch moves one screen

  explicit HexView(DataBuffer& buffer);

  // Cells of a grid row: the address grids have one per address digit, 7,
  // or 8 once the buffer's last address needs 8 (buffers above 256 MiB).
  int Columns(HexGrid grid) const;
  int AddressDigits() const;
  static bool IsWordView(HexGrid grid) { return grid >= HexGrid::Address16; }
  static bool IsAddressGrid(HexGrid grid) {
    return grid == HexGrid::Address8 || grid == HexGrid::Address16;
  }

  // ---- rows ---------------------------------------------------------------

  // The first buffer row on screen: ViewPage x 0x7FFF + ViewTopRow.
  int64_t TopRow() const;
  // The last row at which a full screen can start; both bars range 0 .. this.
  int64_t LastStartRow() const;
  // Where the bars stand for the current top row.
  int64_t BarPosition() const;
  // Moves the view (clamped) and stores ViewPage and ViewTopRow. A move
  // drops a half-typed entry.
  void SetTopRow(int64_t row);
  // Buffer offset of the first byte of grid row r (1 to 16).
  int64_t RowOffset(int grid_row) const;

  // A scroll bar event: line and page codes move the view from where it is,
  // end of scroll takes the bar's position; down never moves back. Other
  // codes do nothing. Returns the new bar position.
  int64_t Scroll(ScrollCode code, int64_t position);
  // Wheel delta (positive up); acts once per full notch of 120 units, one
  // screen per notch. A change of direction drops what was gathered.
  // Returns the notches acted on (positive up).
  int Wheel(int angle_delta);

  // ---- cells --------------------------------------------------------------

  // Row 0 gives the header; other rows the buffer's content or blank.
  CellText Cell(HexGrid grid, int row, int column) const;
  // Byte offset of a data cell (the word's even byte for 16-bit hex cells),
  // or -1 when the cell is a header, an address or past the buffer's end.
  int64_t CellOffset(HexGrid grid, int row, int column) const;

  // ---- selection ----------------------------------------------------------

  // The selected cell of the view that holds grid: the grids of a view share
  // one row; hex and character columns follow each other (16-bit hex column
  // c is character column 2c), address grids keep their own digit column.
  void Select(HexGrid grid, int row, int column);
  int SelectedRow(HexGrid grid) const { return ViewOf(grid).row; }
  int SelectedColumn(HexGrid grid) const;
  // The grid that took the last selection or keystroke in grid's view.
  HexGrid FocusGrid(HexGrid grid) const { return ViewOf(grid).focus; }

  // The keys that move through the buffer, in grid's view:
  //  - PageUp, PageDown: the view moves one screen, within the bars' range;
  //    where it can go no further the selection goes to the first or the
  //    last row holding bytes;
  //  - RowStart, RowEnd: the selected row's first and last cell;
  //  - BufferStart, BufferEnd: the buffer's first byte, or its last at the
  //    bars' last row.
  enum class Navigation { PageUp, PageDown, RowStart, RowEnd, BufferStart, BufferEnd };
  void Navigate(HexGrid grid, Navigation key);

  // For assistive technology: the rows on screen and the selected cell of
  // grid with its address and value, as one line.
  std::string Description(HexGrid grid) const;

  // ---- typing -------------------------------------------------------------

  enum class Typed { Ignored, Pending, Stored, Jumped };

  // Asked before a keystroke may change the buffer: while it says no (a
  // device operation or a command has the buffer) hex and character cells
  // take nothing and a half-typed entry is dropped; address cells still move
  // the view. Without a gate typing is always allowed.
  void SetWriteGate(std::function<bool()> may_write) { may_write_ = std::move(may_write); }
  bool MayWrite() const { return !may_write_ || may_write_(); }

  // One typed character (Latin-1 code; anything above 0xFF is ignored) into
  // the selected cell of grid.
  //  - hex cells: a digit (anything else counts as "0") joins the entry; at
  //    two digits (four in the 16-bit view) the value is stored and the
  //    selection moves to the next cell;
  //  - character cells: the byte is stored at once (16-bit view: the high
  //    byte of a word is shown first) and the selection moves on;
  //  - address cells: the digit replaces that digit of the row's address and
  //    the view jumps there; the selection moves to the next digit.
  // After the last cell of row 16 the selection returns to row 1.
  Typed Type(HexGrid grid, uint32_t character);
  // The digits typed into the selected cell so far. An entry belongs to its
  // cell on the screen it was typed on: any move of the view or of the
  // selection drops it.
  std::string_view Entry() const;
  HexGrid EntryGrid() const { return entry_grid_; }
  void Backspace();
  // Leaving a grid or moving the selection ends the entry unstored.
  void CancelEntry() { entry_size_ = 0; }

  // Store into the buffer at the cell's offset; row 0 and cells past the
  // buffer's end are ignored, and so is a word half past the end.
  bool WriteByteAtCell(HexGrid grid, int column, int row, uint8_t byte);
  bool WriteWordAtCell(int column, int row, uint8_t high, uint8_t low);

  // The address typed into an address row of the given text: read as hex,
  // doubled for the word grid, less the row's distance from row 1, never
  // below 0, and buffer size - 240 when above buffer size - 256.
  int64_t AddressForRow(HexGrid grid, int row, std::string_view digits) const;
  // The view starts at that address.
  void JumpTo(int64_t address);

  // 1 once a byte was typed into the buffer; never cleared.
  bool Modified() const { return modified_; }

 private:
  struct ViewSelection {
    int row = 1;
    int data_column = 0;  // character column 0 .. 15
    int address_column = 0;
    HexGrid focus;
  };
  ViewSelection& ViewOf(HexGrid grid) { return IsWordView(grid) ? word_ : byte_; }
  const ViewSelection& ViewOf(HexGrid grid) const { return IsWordView(grid) ? word_ : byte_; }
  bool HasBytes() const;
  int64_t Size() const;
  int64_t MaxTopRow() const;
  void Advance(HexGrid grid);
  // The last row on screen holding a byte (1 when none does) and the last
  // cell of a grid row that holds one (or is an address digit).
  int LastRowWithBytes() const;
  int LastCellWithByte(HexGrid grid, int row) const;
  Typed TypeHex(HexGrid grid, char digit);
  Typed TypeAddress(HexGrid grid, char digit);
  CellText AddressCell(HexGrid grid, int row, int column) const;

  DataBuffer& buffer_;
  ViewSelection byte_{1, 0, 0, HexGrid::Hex8};
  ViewSelection word_{1, 0, 0, HexGrid::Hex16};
  std::array<char, 4> entry_{};
  uint8_t entry_size_ = 0;
  HexGrid entry_grid_ = HexGrid::Hex8;
  int64_t entry_top_row_ = 0;  // the view the entry was typed on
  int wheel_gathered_ = 0;
  bool modified_ = false;
  std::function<bool()> may_write_;
};

}  // namespace quenlet
