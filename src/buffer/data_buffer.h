#pragma once
// The data buffer: the one image that the program loads from files, saves,
// edits, sums, programs into devices and fills from device reads. The buffer
// editor window holds one; everybody else reaches the bytes only through the
// bounded accessors below.
//
// Storage rule: the block always holds more bytes than BufSize. A buffer of
// BufSize n + 1024 lives in a block of n + 2000 bytes (8192 in 9216 at
// creation). The bytes above BufSize are slack that the fills and lane
// commands may touch (the tail fill writes index BufSize); a word fill never
// writes past the end of its range.
//
// Index rule: every range a caller passes is checked against the buffer.
// Fills and block operations refuse a range that leaves the buffer (nothing is
// written); sums clip the range to the buffer; placements grow the buffer
// first and refuse what cannot fit.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/page_block.h"
#include "state/buffer_limits.h"

namespace quenlet {

class Messages;
class Progress;
struct SelectedDevice;

// The codes of DataMode: how a placement lays an image of len bytes into its
// slot of the buffer. (The lane code of the device operations is another
// code: MainFormState::DataSetMode.)
enum DataModeCode : int32_t {
  kDataEveryByte = 0,   // every byte
  kDataEvenBytes = 1,   // image bytes 0, 2, 4 ... into the first (len + 1) / 2 bytes
  kDataOddBytes = 2,    // image bytes 1, 3, 5 ...
  kDataSwapPairs = 3,   // popup "Swap Byte": every pair swapped
  kDataGroupByte0 = 4,  // byte 0 of each 4-byte group into the first len / 4 bytes
  kDataGroupByte1 = 5,
  kDataGroupByte2 = 6,
  kDataGroupByte3 = 7,
  kDataByteSwap = 31,    // "Byte Swap" button: AB -> BA
  kDataWordSwap = 32,    // "Word Swap" button: ABCD -> CDAB
  kDataDoubleSwap = 34,  // "Double Swap" button: ABCDEFGH -> EFGHABCD
};

// What the editor view has to show again after a buffer operation.
enum class BufferChange {
  Resized,   // new size: the view is back at its top row and page
  Contents,  // same size, other bytes
};

class DataBuffer {
 public:
  static constexpr uint32_t kInitialSize = 0x2000;   // BufSize at creation
  static constexpr uint32_t kInitialBlock = 0x2400;  // block size at creation
  // BufSize = n + 1024 and block = n + 2000 after ResizeBuffer(n);
  // placements grow to the next 64 KB (buffer_limits.h).
  static constexpr uint32_t kSizeExtra = quenlet::kSizeExtra;
  static constexpr uint32_t kBlockExtra = quenlet::kBlockExtra;
  static constexpr uint32_t kGrowthUnit = quenlet::kGrowthUnit;

  // Creates the zero-filled 8 KB buffer. When the block cannot be had the
  // buffer has none (HasBuffer() false); the second form then shows
  // "Memory Error !" / "Dump Edit".
  DataBuffer();
  explicit DataBuffer(Messages& messages);

  DataBuffer(const DataBuffer&) = delete;
  DataBuffer& operator=(const DataBuffer&) = delete;

  // ---- storage and growth -------------------------------------------------

  bool HasBuffer() const { return !block_.empty(); }

  // Block of n + 2000 bytes, BufSize n + 1024; contents kept, new bytes zero
  // (zero pages: bytes never written cost nothing); the view returns to its
  // top. A size above kMaxBufferSize, a negative size
  // or a failed allocation shows "Memory error !" / "Buffer Resize." and keeps
  // the old buffer and size. Returns true when the buffer was resized.
  bool ResizeBuffer(int64_t n, Messages& messages);

  // BufSize: the logical size in bytes (GetBufSize).
  uint32_t BufSize() const { return buf_size_; }
  // Size of the whole block, slack included.
  uint32_t BlockSize() const { return static_cast<uint32_t>(block_.size()); }

  // The logical buffer, BufSize bytes. Empty when there is no buffer.
  // Valid until the next resize or placement.
  std::span<uint8_t> Bytes() { return {block_.get(), buf_size_}; }
  std::span<const uint8_t> Bytes() const { return {block_.get(), buf_size_}; }
  // The whole block, slack included (for writers that round a length up and
  // may read a few bytes past BufSize).
  std::span<uint8_t> Block() { return {block_.get(), block_.size()}; }
  std::span<const uint8_t> Block() const { return {block_.get(), block_.size()}; }

  // Checked copies within the logical buffer: false (and nothing copied) when
  // offset + size passes BufSize.
  bool CopyOut(uint64_t offset, std::span<uint8_t> out) const;
  bool CopyIn(uint64_t offset, std::span<const uint8_t> in);

  // ---- fields of the editor -----------------------------------------------

  int32_t FileStartAdd() const { return file_start_add_; }
  void SetFileStartAdd(int32_t value) { file_start_add_ = value; }
  // End of the last loaded file in the buffer: placement offset + placed length.
  int32_t FileSize() const { return file_size_; }
  void SetFileSize(int32_t value) { file_size_ = value; }

  int32_t DataMode() const { return data_mode_; }
  void SetDataMode(int32_t mode) { data_mode_ = mode; }

  // File-format code chosen in the load dialog (0 to 7).
  int32_t FileFormat() const { return file_format_; }
  void SetFileFormat(int32_t value) { file_format_ = value; }

  // 1 once a load started the device's external plug-in.
  int32_t ExtProRan() const { return ext_pro_ran_; }
  void SetExtProRan(int32_t value) { ext_pro_ran_ = value; }

  // Full path of History_1.ini (program directory + "History_1.ini").
  const std::string& HistoryIniPath() const { return history_ini_path_; }
  void SetHistoryIniPath(std::string path) { history_ini_path_ = std::move(path); }

  // View fields of the editor window: BufSize / 16 after a resize, the view's
  // first row within its page and the page of 0x7FFF rows.
  int32_t BufRows() const { return buf_rows_; }
  void SetBufRows(int32_t rows) { buf_rows_ = rows; }
  int32_t ViewTopRow() const { return view_top_row_; }
  void SetViewTopRow(int32_t row) { view_top_row_ = row; }
  int32_t ViewPage() const { return view_page_; }
  void SetViewPage(int32_t page) { view_page_ = page; }

  // The editor is told whenever the view has to be drawn again.
  void SetChangeHandler(std::function<void(BufferChange)> handler) {
    change_handler_ = std::move(handler);
  }

  // ---- the device ---------------------------------------------------------

  // The selected-device record whose IcDeviceSize the sum's range rule uses.
  // Not owned; may be null (then the device size is 0).
  void AttachDevice(const SelectedDevice* device) { device_ = device; }
  // IcDeviceSize of the attached device, 0 without one.
  uint32_t GetDeviceSize() const;

  // ---- sum ------------------------------------------------------------------

  // 32-bit wrapping sum of the bytes start .. end inclusive, except that an
  // end exactly one device size above start is exclusive. The range is
  // clipped to the buffer; start > end sums nothing. Stores BufCheckSum,
  // SumValue, SumStart and SumEnd (the range actually summed); show 1 shows
  // "SUM : %08lX" / "Get Check Sum". Returns the sum.
  uint32_t GetCheckSum(int64_t start, int64_t end, int32_t show, Messages& messages,
                       Progress& progress);
  // The same for a range whose end is always inclusive, as the operator
  // types it: a range exactly one device long keeps its last byte.
  uint32_t SumRange(int64_t start, int64_t end, int32_t show, Messages& messages,
                    Progress& progress);
  uint32_t ReturnCheckSum() const { return buf_check_sum_; }

  // Last sum shown on the Buffer Information page (the PIC load path stores
  // its own sum here).
  uint32_t SumValue() const { return sum_value_; }
  void SetSumValue(uint32_t value) { sum_value_ = value; }
  int32_t SumStart() const { return sum_start_; }
  int32_t SumEnd() const { return sum_end_; }

  // ---- fills ------------------------------------------------------------------

  // Bytes start .. end inclusive := value. Nothing when end <= start,
  // start < 0 or end > BufSize (end == BufSize writes the slack byte).
  // Returns true when bytes were written.
  bool FillBuffer(int64_t start, int64_t end, uint8_t value, Progress& progress);
  // Little-endian words from start while i <= end; nothing past end is
  // written: a range of an odd number of bytes ends with the low byte of its
  // last word. Nothing when start >= end, start < 0 or end > BufSize.
  bool FillBufferWord(int64_t start, int64_t end, uint16_t value, Progress& progress);
  // Kind 0 random bytes, 1 the low byte of each address, 2 the 16-bit address
  // high byte first per word (an odd range ends with the high byte of its
  // last word: nothing past end is written). Nothing when end <= start, end < 1, start < 0,
  // end > BufSize or another kind.
  bool FillPattern(int64_t start, int64_t end, uint8_t kind, Progress& progress);

  // ---- placements by data-set mode -------------------------------------------

  // Each grows the buffer first when dest + len > BufSize (to the next 64 KB
  // above dest + len, plus 1024), then lays the first len bytes of image into
  // the slot dest .. dest + len - 1 by DataMode. A byte past len that a mode
  // reads comes from the image's slack (0 when the image has none). Mode 3,
  // left by the popup's Swap Byte, makes a load swap the pairs inside the
  // slot (an odd last byte as it is). Returns false, with nothing placed,
  // when len or dest is negative, len exceeds the image, the growth fails
  // (after its message) or the mode places nothing. An image that lies in the
  // buffer itself is copied before the buffer moves.

  // Fills bytes before dest, the rest of the slot and from dest + len up to
  // and including BufSize with fill.
  bool PlaceImageWithFill(std::span<const uint8_t> image, int64_t len, uint8_t fill, int64_t dest,
                          Messages& messages, Progress& progress);
  // Merges the image: every byte outside what the mode writes stays.
  bool PlaceImage(std::span<const uint8_t> image, int64_t len, int64_t dest, Messages& messages,
                  Progress& progress);
  // A whole image at 0, every byte, the fill around it: what ResizeBuffer(n)
  // and then PlaceImageWithFill(image, len, fill, 0) in mode 0 give, done by
  // taking the image's block over as the buffer's and growing (or cutting)
  // it in place to the block of BufSize n + 1024, so that the image is never
  // copied nor held twice. The image is the block's first len bytes; what
  // the block holds past them does not matter. False with nothing changed
  // (`image` kept) when the image does not fit that BufSize or the block
  // cannot grow; the caller then resizes and places a copy.
  bool AdoptImage(PageBlock& image, uint64_t len, int64_t n, uint8_t fill, Progress& progress);
  // The popup's placement: modes 0, 1, 2 as PlaceImageWithFill, mode 3 the
  // swapped pairs; other modes place nothing.
  bool PlaceImageEvenOdd(std::span<const uint8_t> image, int64_t len, uint8_t fill, int64_t dest,
                         Messages& messages, Progress& progress);

  // ---- in-place lane commands ------------------------------------------------

  // Popup Data Set Even (1), Odd (2), Swap Byte (3): DataMode := mode and the
  // buffer is laid over itself with fill 0.
  bool SetDataSetInPlace(int32_t mode, Progress& progress);
  // The swap buttons: mode 31, 32 or 34 over the whole buffer; DataMode kept.
  bool SwapInPlace(int32_t swap_mode, Progress& progress);

  // ---- block command and settings ---------------------------------------------

  // Runs History_1.ini [BlockDlg]: StartAdd, EndAdd, DistSAdd, Action
  // (0 copy, 1 move, 2 swap). Returns false when the block was refused.
  bool DoBlockAction();
  // History_1.ini [SelectDlg] IcFileName, default "None".
  std::string GetIcFileName() const;
  // History_1.ini [System] Path, default "None".
  std::string GetSystemPath() const;
  // History_1.ini [BufInf]: BufSize and FileSize as "%d" strings, BufHandle
  // (1 with a buffer, 0 without) and FileStartAdd as integers.
  bool SaveBufInf() const;

 private:
  // Grows the buffer so that dest + len fits (next 64 KB above it).
  bool Grow(int64_t dest, int64_t len, Messages& messages);
  bool Place(std::span<const uint8_t> image, int64_t len, uint8_t fill, int64_t dest,
             bool fill_around, bool even_odd_rules, Messages& messages, Progress& progress);
  bool Allocate(uint64_t block_size);
  // BufSize n + 1024 for a block already of n + 2000 bytes; the view returns
  // to its top.
  void SetSizeFor(uint64_t n);
  bool PlaceByMode(const uint8_t* image, uint64_t image_size, uint64_t len, uint8_t fill,
                   uint64_t dest, int32_t mode, bool fill_around, bool even_odd_rules,
                   Progress& progress);
  void Changed(BufferChange change) const {
    if (change_handler_) change_handler_(change);
  }

  // Zero pages, so that a load can hand its image over as the block instead
  // of holding a copy beside it, and bytes never written cost nothing.
  PageBlock block_;
  int32_t buf_rows_ = 0;
  int32_t view_top_row_ = 0;
  int32_t view_page_ = 0;
  uint32_t buf_size_ = 0;
  uint32_t buf_check_sum_ = 0;
  int32_t file_start_add_ = 0;
  int32_t file_size_ = 0;
  std::string history_ini_path_;
  int32_t ext_pro_ran_ = 0;
  int32_t data_mode_ = kDataEveryByte;
  uint32_t sum_value_ = 0;
  int32_t sum_start_ = 0;
  int32_t sum_end_ = 0;
  int32_t file_format_ = 0;
  const SelectedDevice* device_ = nullptr;
  std::function<void(BufferChange)> change_handler_;
};

}  // namespace quenlet
