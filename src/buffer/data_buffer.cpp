#include "buffer/data_buffer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "buffer/progress_steps.h"
#include "device/selected_device.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"
#include "state/buffer_limits.h"

namespace quenlet {
namespace {

int32_t ClampToI32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// The byte sum of one run. Eight bytes at a time, the even and odd bytes of
// each word added into four 16-bit lanes, so the loop needs no per-byte
// widening; a lane gains at most 2 * 255 per word, so 128 words fit before
// the lanes are folded into the 32-bit sum.
uint32_t SumRun(const uint8_t* p, size_t n) {
  constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFull;
  constexpr uint64_t kLowHalves = 0x0000FFFF0000FFFFull;
  constexpr size_t kWordsPerFold = 128;
  uint32_t sum = 0;
  while (n >= 8) {
    const size_t words = std::min(n / 8, kWordsPerFold);
    uint64_t lanes = 0;
    for (size_t k = 0; k < words; ++k) {
      uint64_t w;
      std::memcpy(&w, p + k * 8, 8);
      lanes += (w & kLowBytes) + ((w >> 8) & kLowBytes);
    }
    const uint64_t pairs = (lanes & kLowHalves) + ((lanes >> 16) & kLowHalves);
    sum += static_cast<uint32_t>(pairs) + static_cast<uint32_t>(pairs >> 32);
    p += words * 8;
    n -= words * 8;
  }
  while (n > 0) {
    sum += *p++;
    --n;
  }
  return sum;
}

void ShowResizeError(Messages& messages) {
  messages.Box("Memory error !", "Buffer Resize.", MessageButtons::Ok, MessageIcon::None);
}

}  // namespace

DataBuffer::DataBuffer() {
  if (Allocate(kInitialBlock)) {
    buf_size_ = kInitialSize;
    buf_rows_ = static_cast<int32_t>(kInitialSize / 16);
  }
}

DataBuffer::DataBuffer(Messages& messages) : DataBuffer() {
  if (!HasBuffer())
    messages.Box("Memory Error !", "Dump Edit", MessageButtons::Ok, MessageIcon::Stop);
}

bool DataBuffer::Allocate(uint64_t block_size) {
  // Contents kept and new bytes zero; a large block grows and shrinks in
  // place, and the same size keeps the block as it is.
  return block_.Resize(static_cast<size_t>(block_size));
}

bool DataBuffer::ResizeBuffer(int64_t n, Messages& messages) {
  if (n < 0 || static_cast<uint64_t>(n) > kMaxBufferSize || !Allocate(uint64_t(n) + kBlockExtra)) {
    ShowResizeError(messages);
    return false;
  }
  SetSizeFor(uint64_t(n));
  return true;
}

void DataBuffer::SetSizeFor(uint64_t n) {
  buf_size_ = static_cast<uint32_t>(n + kSizeExtra);
  buf_rows_ = static_cast<int32_t>(buf_size_ / 16);
  view_page_ = 0;
  view_top_row_ = 0;
  Changed(BufferChange::Resized);
}

bool DataBuffer::Grow(int64_t dest, int64_t len, Messages& messages) {
  // Both are non-negative: their sum cannot wrap in 64 bits.
  const uint64_t end = uint64_t(dest) + uint64_t(len);
  if (end <= buf_size_ && HasBuffer()) return true;
  // At the size limit the next 64 KB step is cut back to the limit, which
  // still holds the image thanks to the 1024 bytes above n.
  if (end > kMaxBufferSize + kSizeExtra) {
    ShowResizeError(messages);
    return false;
  }
  const uint64_t next = (end / kGrowthUnit) * kGrowthUnit + kGrowthUnit;
  return ResizeBuffer(int64_t(std::min<uint64_t>(next, kMaxBufferSize)), messages);
}

bool DataBuffer::CopyOut(uint64_t offset, std::span<uint8_t> out) const {
  if (offset > buf_size_ || out.size() > buf_size_ - offset) return false;
  if (!out.empty()) std::memcpy(out.data(), block_.get() + offset, out.size());
  return true;
}

bool DataBuffer::CopyIn(uint64_t offset, std::span<const uint8_t> in) {
  if (offset > buf_size_ || in.size() > buf_size_ - offset) return false;
  if (!in.empty()) std::memmove(block_.get() + offset, in.data(), in.size());
  return true;
}

uint32_t DataBuffer::GetDeviceSize() const {
  return device_ ? device_->IcDeviceSize : 0;
}

uint32_t DataBuffer::GetCheckSum(int64_t start, int64_t end, int32_t show, Messages& messages,
                                 Progress& progress) {
  // An end one device size above the start names the byte after the range.
  // Without a device size there is no such end: a range of one byte stays one.
  const int64_t device_size = GetDeviceSize();
  if (device_size > 0 && end - start == device_size) --end;
  return SumRange(start, end, show, messages, progress);
}

uint32_t DataBuffer::SumRange(int64_t start, int64_t end, int32_t show, Messages& messages,
                              Progress& progress) {
  ProgressSteps steps(progress, end > start ? uint64_t(end - start) : 0);
  progress.SetPosition(0);

  // Only bytes inside the buffer are summed.
  const int64_t first = std::max<int64_t>(start, 0);
  const int64_t last = std::min<int64_t>(end, int64_t(buf_size_) - 1);
  uint32_t sum = 0;
  if (first <= last) {
    const uint8_t* p = block_.get();
    steps.Walk(uint64_t(first), uint64_t(last) + 1,
               [&](uint64_t a, uint64_t b) { sum += SumRun(p + a, b - a); });
  }
  buf_check_sum_ = sum;
  progress.Complete();
  sum_value_ = sum;
  sum_start_ = ClampToI32(first);
  sum_end_ = ClampToI32(last);
  if (show == 1) {
    messages.Box(strprintf("SUM : %08lX", static_cast<unsigned long>(sum)), "Get Check Sum",
                 MessageButtons::Ok, MessageIcon::None);
  }
  return sum;
}

std::string DataBuffer::GetIcFileName() const {
  return IniFile(history_ini_path_).ReadString("SelectDlg", "IcFileName", "None");
}

std::string DataBuffer::GetSystemPath() const {
  return IniFile(history_ini_path_).ReadString("System", "Path", "None");
}

bool DataBuffer::SaveBufInf() const {
  IniBatch batch;
  batch.WriteString("BufInf", "BufSize", strprintf("%d", static_cast<int>(buf_size_)));
  batch.WriteString("BufInf", "FileSize", strprintf("%d", file_size_));
  // There is no movable handle to store: the key keeps saying whether a buffer exists.
  batch.WriteInteger("BufInf", "BufHandle", HasBuffer() ? 1 : 0);
  batch.WriteInteger("BufInf", "FileStartAdd", file_start_add_);
  return IniFile(history_ini_path_).Write(batch);
}

}  // namespace quenlet
