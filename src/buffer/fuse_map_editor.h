#pragma once
// The GAL/PAL fuse-map editor without its window: the geometry of the grid's
// window onto the map, scrolling and wrapping across rows, jumping to a fuse
// number, fills, the fuse checksum, and JEDEC loads and saves. The window
// (Tform2) shows what this object computes and forwards the operator's
// actions to it; one lives per fuse-device selection.
//
// The map itself is the application's one FuseMap, which the device
// operations program, verify and read. All geometry is signed 64-bit: the
// device file's numbers are not trusted to be sane.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quenlet {

class DataBuffer;
class FileChooser;
class FuseMap;
class Messages;
struct MainFormState;
struct SelectedDevice;

// What the editor touches outside its own window.
class FuseEditorHost {
 public:
  virtual ~FuseEditorHost() = default;
  // The main window's checksum field: its text, red when the sum changed.
  virtual void ShowSum(const std::string& text, bool red) = 0;
  // The main window's load path field.
  virtual void SetLoadPath(const std::string& path) = 0;
  // The read step's fail picture (working and passed pictures hidden) and
  // the common failure indication: the editor has no map.
  virtual void ShowMapFailure() = 0;
  // The common failure indication alone.
  virtual void StepFail() = 0;
};

struct FuseEditorLinks {
  FuseMap& fuse_map;
  const MainFormState& state;
  const SelectedDevice& device;
  DataBuffer& buffer;
  Messages& messages;
  FileChooser& files;
  FuseEditorHost& host;
};

// The rule of the jump and fill edits: the text is cut to 8 characters (or
// the number of digits of the last fuse, when that is longer) and at its
// first non-digit; an empty text becomes "00000000" and a number not below
// `fuse_count` the last fuse, "%08d".
std::string FuseNumberText(std::string_view text, int64_t fuse_count);

class FuseMapEditor {
 public:
  // The grid of the editor's window.
  static constexpr int kGridColumns = 24;
  static constexpr int kGridRows = 8;
  // The vertical bar runs this many rows past the last full window, and
  // further where the last fuse lies further down.
  static constexpr int64_t kExtraRows = 6;
  // Loads refuse larger files: room for our own writer's longest rows plus
  // notes and vectors.
  static constexpr uint64_t kJedecSlack = 64ull << 20;
  static constexpr uint64_t kJedecBytesPerFuse = 16;

  // Takes the geometry from the run state and the key polarity from the
  // device record; without a fuse device, the editor's default geometry.
  explicit FuseMapEditor(const FuseEditorLinks& links);
  FuseMapEditor(const FuseMapEditor&) = delete;
  FuseMapEditor& operator=(const FuseMapEditor&) = delete;

  // Called whenever the window must show the view again.
  void SetRedrawHandler(std::function<void()> redraw) { redraw_ = std::move(redraw); }

  // (Re)builds the map for the selected device, all fuses 0. False (after
  // the reason was shown) when the editor holds no map: no memory, no fuse
  // count, a count beyond the buffer limit, or a geometry that does not fit.
  bool InitFuseMap();
  void FreeFuseMap();
  // The map the device operations use; null when there is none.
  FuseMap* GetFuseMapHandle();
  bool HasMap() const;

  // Geometry.
  int64_t FuseColumns() const { return fuse_columns_; }
  int64_t FuseRows() const { return fuse_rows_; }
  int64_t FuseCount() const { return fuse_count_; }
  int PackagePins() const { return package_pins_; }
  int64_t ColumnOrigin() const { return column_origin_; }
  int64_t RowOrigin() const { return row_origin_; }
  int64_t HorizontalMax() const;
  int64_t VerticalMax() const;
  int HorizontalPage() const { return kGridColumns - 1; }
  int VerticalPage() const { return kGridRows - 1; }
  // Where the grid's focus belongs (the window puts it there on a redraw).
  int FocusX() const { return focus_x_; }
  int FocusY() const { return focus_y_; }

  // The view: grid cell (row, column), 2 past the map's last column or fuse.
  uint8_t CellValue(int row, int column) const;
  // The first fuse number of each visible row, "%08d".
  std::string RowAddressText(int row) const;
  std::string PositionText() const { return position_text_; }  // "X : ...     Y : ..."
  std::string JumpText() const { return jump_text_; }
  std::string SquareText() const;   // "Square : %04d * %04d "
  std::string Bitmap0Text() const;  // legend beside the 0 picture
  std::string BigMap1Text() const;  // legend beside the 1 picture

  // Redraws the view.
  void DrawFuseView();

  // The bars: the row or column shown first.
  void ScrollRowsTo(int64_t row);
  void ScrollColumnsTo(int64_t column);
  // One row down (positive) or up: the grid asked to leave its bottom or top.
  void StepRows(int delta);

  // Grid events.
  void CellChange(int x, int y, int value);
  void CurrentChange(int x, int y);
  // Cursor left at the grid's first column, right at its last: one column
  // further, or round to the neighbouring row's far end.
  void LeftEvent(int x, int y);
  void RightEvent(int x, int y);

  // The jump edit's text after its rule; a jump to the number it holds.
  std::string JumpEditChange(std::string_view text) const;
  void JumpTo(std::string_view text);
  void JumpToFuse(int64_t fuse);

  uint32_t FuseCheckSum() const;
  // Mode 1: the sum in the checksum field and a message box; mode 6: the
  // field only; other modes only compute. Returns the sum.
  uint32_t ShowCheckSum(int mode);

  // The fill dialog: its texts when it opens, its OK (false, after the
  // message, when the range is refused) and Exit, then the fill itself.
  struct FillTexts {
    std::string start;
    std::string end;
    int bit = 0;
  };
  FillTexts FillDialogTexts() const;
  FillTexts MaxTexts() const;
  bool AcceptFill(std::string_view start, std::string_view end, int bit);
  void CancelFill() { fill_ok_ = false; }
  // Fills the accepted range with the fill bit; false when nothing was accepted.
  bool ApplyFill();
  bool FillOK() const { return fill_ok_; }
  int FillBit() const { return fill_bit_; }
  int64_t FillStart() const { return fill_start_; }
  int64_t FillEnd() const { return fill_end_; }

  // The load and save commands; true when a file was read into the map or
  // written from it.
  bool GAL_loadClick();
  bool Gal_SaveClick();
  // Writes our JEDEC file of the map to `name`; false after a message.
  bool WriteJedFile(const std::string& name);

  const std::string& JedFileName() const { return jed_file_name_; }
  const std::string& JedText() const { return jed_text_; }

 private:
  bool NoMap(bool memory_box);
  bool SetupView();
  bool CopyFuseMapToBuffer();
  int64_t FuseAt(int x, int y) const;
  std::string ReadJedText(const std::string& name, bool& ok);

  FuseMap& fuse_map_;
  const MainFormState& state_;
  DataBuffer& buffer_;
  Messages& messages_;
  FileChooser& files_;
  FuseEditorHost& host_;
  std::function<void()> redraw_;

  int64_t fuse_columns_ = 0;
  int64_t fuse_rows_ = 0;
  int64_t fuse_count_ = 0;
  int package_pins_ = 0;
  int64_t column_origin_ = 0;
  int64_t row_origin_ = 0;
  int focus_x_ = 0;
  int focus_y_ = 0;
  std::string position_text_;
  std::string jump_text_ = "00000000";

  int fill_bit_ = 0;
  bool fill_ok_ = false;
  int64_t fill_start_ = 0;
  int64_t fill_end_ = 0;

  std::string jed_text_;
  std::string jed_file_name_;
  // Nothing fills the device name the geometry message names.
  std::string device_name_;
};

}  // namespace quenlet
