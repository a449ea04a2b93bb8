#include "buffer/fuse_map_editor.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "buffer/jedec_file.h"
#include "buffer/save_pipeline.h"
#include "device/selected_device.h"
#include "platform/atomic_file.h"
#include "platform/atomic_output_file.h"
#include "platform/file_chooser.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"
#include "state/buffer_limits.h"
#include "state/main_form_state.h"

namespace quenlet {
namespace {

constexpr const char* kNoMemoryText = " Insufficient memory for GlobalAlloc! ";
constexpr size_t kWritePiece = 65535;

long long Ll(int64_t v) {
  return static_cast<long long>(v);
}

// The leading decimal digits of `text` as a number (0 when there are none);
// a number too long for 64 bits stays at the largest value.
int64_t LeadingNumber(std::string_view text) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    const int64_t digit = c - '0';
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

// The origin and focus that bring `index` of a map axis into a window of
// `visible` cells: the window stays at 0 while it can, else ends at it.
void ShowIndex(int64_t index, int visible, int64_t& origin, int& focus) {
  origin = index < visible ? 0 : index - visible + 1;
  focus = static_cast<int>(index - origin);
}

size_t DigitCount(int64_t value) {
  size_t digits = 1;
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

void ShowTooBig(Messages& messages) {
  messages.Box("File size is too big", "Load Error", MessageButtons::Ok, MessageIcon::Information);
}

std::string FolderOf(const std::string& name) {
  return name.empty() ? std::string() : std::filesystem::path(name).parent_path().string();
}

}  // namespace

std::string FuseNumberText(std::string_view text, int64_t fuse_count) {
  const int64_t last = std::max<int64_t>(fuse_count - 1, 0);
  text = text.substr(0, std::max<size_t>(8, DigitCount(last)));
  const size_t digits =
      std::find_if(text.begin(), text.end(), [](char c) { return c < '0' || c > '9'; }) -
      text.begin();
  text = text.substr(0, digits);
  if (text.empty()) return "00000000";
  if (LeadingNumber(text) >= fuse_count) return strprintf("%08lld", Ll(last));
  return std::string(text);
}

FuseMapEditor::FuseMapEditor(const FuseEditorLinks& links)
    : fuse_map_(links.fuse_map),
      state_(links.state),
      buffer_(links.buffer),
      messages_(links.messages),
      files_(links.files),
      host_(links.host) {
  fuse_rows_ = state_.FuseRows;
  fuse_columns_ = state_.FuseColumns;
  package_pins_ = state_.PackagePins;
  fuse_count_ = state_.FuseCount;
  // The record's Intact may hold any number; only 1 swaps the keys.
  fill_bit_ = links.device.Intact == 1 ? 1 : 0;
  if (state_.FuseCount == 0) {
    fuse_count_ = 6048;
    fuse_columns_ = 44;
    fuse_rows_ = 133;
    package_pins_ = 20;
    fill_bit_ = 0;
  }
  fuse_map_.ResetShownSum();
}

bool FuseMapEditor::NoMap(bool memory_box) {
  if (memory_box) {
    messages_.Box("Momery not enough !", "PAL Edit", MessageButtons::Ok, MessageIcon::None);
  }
  fuse_map_.Free();
  messages_.Show(kNoMemoryText);
  host_.ShowMapFailure();
  return false;
}

bool FuseMapEditor::InitFuseMap() {
  fuse_count_ = state_.FuseCount;
  // A map larger than the biggest data buffer is not allocated at all.
  if (static_cast<uint64_t>(fuse_count_) > kMaxBufferSize) return NoMap(true);
  if (fuse_count_ < 1) return NoMap(false);
  if (!fuse_map_.Init(fuse_count_)) return NoMap(true);
  if (!SetupView()) {
    // A geometry that does not fit the count would divide by nothing or
    // scroll to nowhere: no map rather than a map shown wrongly.
    fuse_map_.Free();
    return false;
  }
  column_origin_ = 0;
  row_origin_ = 0;
  DrawFuseView();
  return true;
}

bool FuseMapEditor::SetupView() {
  fuse_rows_ = state_.FuseRows;
  fuse_columns_ = state_.FuseColumns;
  const bool fits = fuse_count_ >= 1 && fuse_columns_ >= 1 && fuse_rows_ >= 1 &&
                    fuse_columns_ <= fuse_count_ && fuse_rows_ <= fuse_count_;
  if (!fits || package_pins_ < 20) {
    messages_.Box(strprintf("'%s' maybe error..", device_name_.c_str()), "Ini Error",
                  MessageButtons::Ok, MessageIcon::None);
  }
  return fits;
}

void FuseMapEditor::FreeFuseMap() {
  fuse_map_.Free();
  std::string().swap(jed_text_);
}

FuseMap* FuseMapEditor::GetFuseMapHandle() {
  return fuse_map_.HasMap() ? &fuse_map_ : nullptr;
}

bool FuseMapEditor::HasMap() const {
  return fuse_map_.HasMap();
}

int64_t FuseMapEditor::HorizontalMax() const {
  return HasMap() ? std::max<int64_t>(0, fuse_columns_ - kGridColumns) : 0;
}

int64_t FuseMapEditor::VerticalMax() const {
  if (!HasMap()) return 0;
  // Device files may hold more fuses than rows x columns: the bar reaches
  // the window that shows the last fuse, so that no jump or wrap leaves it.
  const int64_t last_fuse_row = (fuse_count_ - 1) / fuse_columns_;
  return std::max(std::max<int64_t>(0, fuse_rows_ - kGridRows) + kExtraRows,
                  last_fuse_row - (kGridRows - 1));
}

int64_t FuseMapEditor::FuseAt(int x, int y) const {
  return (row_origin_ + y) * fuse_columns_ + column_origin_ + x;
}

uint8_t FuseMapEditor::CellValue(int row, int column) const {
  if (!HasMap() || row < 0 || column < 0 || column_origin_ + column >= fuse_columns_) {
    return FuseMap::kNoFuse;
  }
  return fuse_map_.Fuse(static_cast<uint64_t>(FuseAt(column, row)));
}

std::string FuseMapEditor::RowAddressText(int row) const {
  return strprintf("%08lld", Ll(FuseAt(0, row)));
}

std::string FuseMapEditor::SquareText() const {
  return strprintf("Square : %04lld * %04lld ", Ll(fuse_columns_), Ll(fuse_rows_));
}

std::string FuseMapEditor::Bitmap0Text() const {
  return fill_bit_ == 1 ? "-->Blown.[0 Key]" : "-->Intact.[0 Key]";
}

std::string FuseMapEditor::BigMap1Text() const {
  return fill_bit_ == 1 ? "-->Intact.[1 Key]" : "-->Blown.[1 Key]";
}

void FuseMapEditor::DrawFuseView() {
  if (redraw_) redraw_();
}

void FuseMapEditor::ScrollRowsTo(int64_t row) {
  row_origin_ = std::clamp<int64_t>(row, 0, VerticalMax());
  DrawFuseView();
}

void FuseMapEditor::ScrollColumnsTo(int64_t column) {
  column_origin_ = std::clamp<int64_t>(column, 0, HorizontalMax());
  DrawFuseView();
}

void FuseMapEditor::StepRows(int delta) {
  if (delta > 0 && row_origin_ < VerticalMax()) ++row_origin_;
  if (delta < 0 && row_origin_ > 0) --row_origin_;
  DrawFuseView();
}

void FuseMapEditor::CellChange(int x, int y, int value) {
  if (!HasMap() || x < 0 || y < 0 || column_origin_ + x >= fuse_columns_) return;
  if (value != 0 && value != 1) return;
  fuse_map_.SetFuse(static_cast<uint64_t>(FuseAt(x, y)), static_cast<uint8_t>(value));
}

void FuseMapEditor::CurrentChange(int x, int y) {
  focus_x_ = x;
  focus_y_ = y;
  position_text_ =
      strprintf("X : %04lld     Y : %04lld", Ll(column_origin_ + x), Ll(row_origin_ + y));
  jump_text_ = strprintf("%08lld", Ll(FuseAt(x, y)));
}

void FuseMapEditor::LeftEvent(int x, int y) {
  if (!HasMap()) return;
  if (column_origin_ == 0 && row_origin_ == 0 && y == 0) return;  // the first fuse
  if (column_origin_ == 0) {
    // Round to the end of the row above; the grid's first row scrolls.
    column_origin_ = HorizontalMax();
    focus_x_ = static_cast<int>(std::min<int64_t>(fuse_columns_, kGridColumns) - 1);
    if (y < 1) {
      if (row_origin_ > 0) --row_origin_;
      focus_y_ = 0;
    } else {
      focus_y_ = y - 1;
    }
  } else {
    --column_origin_;
    focus_x_ = 0;
    focus_y_ = y;
  }
  DrawFuseView();
}

void FuseMapEditor::RightEvent(int x, int y) {
  if (!HasMap() || column_origin_ + x >= fuse_columns_) return;
  // Only onto a fuse: past the last one there is nothing to go to.
  if (FuseAt(x, y) + 1 >= fuse_count_) return;
  if (column_origin_ >= HorizontalMax()) {
    // Round to the start of the next row; the grid's last row scrolls.
    column_origin_ = 0;
    focus_x_ = 0;
    if (y >= kGridRows - 1) {
      ++row_origin_;
      focus_y_ = y;
    } else {
      focus_y_ = y + 1;
    }
  } else {
    ++column_origin_;
    focus_x_ = x;
    focus_y_ = y;
  }
  DrawFuseView();
}

std::string FuseMapEditor::JumpEditChange(std::string_view text) const {
  return FuseNumberText(text, fuse_count_);
}

void FuseMapEditor::JumpTo(std::string_view text) {
  if (!HasMap()) return;
  JumpToFuse(std::min(LeadingNumber(text), fuse_count_ - 1));
}

void FuseMapEditor::JumpToFuse(int64_t fuse) {
  if (!HasMap() || fuse < 0) return;
  fuse = std::min(fuse, fuse_count_ - 1);
  ShowIndex(fuse % fuse_columns_, kGridColumns, column_origin_, focus_x_);
  ShowIndex(fuse / fuse_columns_, kGridRows, row_origin_, focus_y_);
  DrawFuseView();
}

uint32_t FuseMapEditor::FuseCheckSum() const {
  return fuse_map_.CheckSum();
}

uint32_t FuseMapEditor::ShowCheckSum(int mode) {
  const uint32_t sum = FuseCheckSum();
  if (mode != 1 && mode != 6) return sum;
  const std::string text = strprintf("%08lX", static_cast<unsigned long>(sum));
  host_.ShowSum(text, fuse_map_.TakeShownSum(sum));
  if (mode == 1) messages_.Box(text, "Get Check Sum", MessageButtons::Ok, MessageIcon::None);
  return sum;
}

FuseMapEditor::FillTexts FuseMapEditor::FillDialogTexts() const {
  return {strprintf("%07lld", Ll(fill_start_)),
          strprintf("%07lld", Ll(std::max<int64_t>(fuse_count_ - 1, 0))), fill_bit_};
}

FuseMapEditor::FillTexts FuseMapEditor::MaxTexts() const {
  return {strprintf("%08lld", 0ll), strprintf("%08lld", Ll(fuse_count_)), fill_bit_};
}

bool FuseMapEditor::AcceptFill(std::string_view start_text, std::string_view end_text, int bit) {
  const int64_t start = LeadingNumber(start_text);
  const int64_t end = LeadingNumber(end_text);
  if (end <= start) {
    messages_.Box("Input Value Error !", "Error", MessageButtons::Ok, MessageIcon::Stop);
    return false;
  }
  if (start >= fuse_count_ || end >= fuse_count_) {
    messages_.Box("Input Value Error !", "ERROR", MessageButtons::Ok, MessageIcon::Stop);
    return false;
  }
  fill_start_ = start;
  fill_end_ = end;
  fill_bit_ = bit == 1 ? 1 : 0;
  fill_ok_ = true;
  return true;
}

bool FuseMapEditor::ApplyFill() {
  if (!fill_ok_ || !HasMap()) return false;
  fuse_map_.FillFuses(static_cast<uint64_t>(fill_start_), static_cast<uint64_t>(fill_end_),
                      static_cast<uint8_t>(fill_bit_));
  DrawFuseView();
  return true;
}

std::string FuseMapEditor::ReadJedText(const std::string& name, bool& ok) {
  ok = false;
  const uint64_t limit = kJedecSlack + kJedecBytesPerFuse * static_cast<uint64_t>(fuse_count_);
  auto too_big = [&] {
    ShowTooBig(messages_);
    return std::string();
  };
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(name, error);
  if (!error && size > limit) return too_big();
  std::optional<std::string> text;
  try {
    text = ReadWholeFile(name);
  } catch (const std::bad_alloc&) {
    return too_big();
  }
  if (!text) {
    messages_.Box(strprintf("%s cannot be read.", name.c_str()), "Load Error", MessageButtons::Ok,
                  MessageIcon::Information);
    return {};
  }
  if (text->size() > limit) return too_big();
  ok = true;
  return std::move(*text);
}

bool FuseMapEditor::GAL_loadClick() {
  if (!HasMap()) return false;
  FileDialogRequest request;
  request.title = "LOAD";
  request.filter = "JED Files.|*.jed|All Files.|*.*";
  request.initial_dir = FolderOf(jed_file_name_);
  request.must_exist = true;
  const std::string name = files_.ChooseOpen(request);
  if (name.empty()) return false;

  bool read = false;
  std::string text = ReadJedText(name, read);
  if (!read) return false;
  JedecRead parsed;
  try {
    parsed = ReadJedecText(text, static_cast<uint64_t>(fuse_count_));
  } catch (const std::bad_alloc&) {
    ShowTooBig(messages_);
    return false;
  }
  switch (parsed.status) {
    case JedecStatus::NotJedec:
      messages_.Box("This file is not a JEDEC file", "OPEN ERROR", MessageButtons::Ok,
                    MessageIcon::Information);
      return false;
    case JedecStatus::SizeMismatch:
      messages_.Box("Fuse Size is not Match", "Error", MessageButtons::Ok, MessageIcon::None);
      return false;
    case JedecStatus::Read:
      break;
  }
  // The whole file was accepted: only now does the map change.
  fuse_map_.StoreFuses(0, parsed.fuses);
  jed_text_ = std::move(text);
  jed_file_name_ = name;
  host_.SetLoadPath(name);
  DrawFuseView();
  ShowCheckSum(1);
  CopyFuseMapToBuffer();
  return true;
}

bool FuseMapEditor::CopyFuseMapToBuffer() {
  if (!buffer_.HasBuffer()) {
    messages_.Show(kNoMemoryText);
    host_.StepFail();
    return false;
  }
  const auto fuses = fuse_map_.Fuses();
  const size_t count = std::min<size_t>(fuses.size(), buffer_.BufSize());
  buffer_.CopyIn(0, fuses.first(count));
  DrawFuseView();
  return true;
}

bool FuseMapEditor::Gal_SaveClick() {
  if (!HasMap()) return false;
  FileDialogRequest request;
  request.title = "SAVE";
  request.filter = "JED Files|*.jed|All File|*.*";
  request.initial_dir = FolderOf(jed_file_name_);
  request.default_extension = "JED";
  const std::string name = files_.ChooseSave(request);
  if (name.empty()) return false;
  std::error_code error;
  if (std::filesystem::exists(name, error) &&
      messages_.Box("File is Exist ! ", "", MessageButtons::OkCancel, MessageIcon::None) !=
          MessageResult::Ok) {
    return false;
  }
  return WriteJedFile(name);
}

bool FuseMapEditor::WriteJedFile(const std::string& name) {
  if (!HasMap()) return false;
  std::string text;
  try {
    text = WriteJedecText(fuse_map_, static_cast<uint64_t>(fuse_columns_));
  } catch (const std::bad_alloc&) {
    messages_.Box("Memory error !", "Buffer Resize.", MessageButtons::Ok, MessageIcon::None);
    return false;
  }
  AtomicOutputFile file(name);
  for (size_t at = 0; at < text.size() && file.ok(); at += kWritePiece) {
    file.Write(text.data() + at, std::min(kWritePiece, text.size() - at));
  }
  if (!file.Commit()) {
    ShowFileWriteError(messages_, name, file.error());
    return false;
  }
  jed_file_name_ = name;
  return true;
}

}  // namespace quenlet
