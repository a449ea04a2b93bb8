#include "buffer/range_fields.h"

#include <algorithm>

#include "buffer/data_buffer.h"
#include "buffer/hex_input.h"
#include "device/selected_device.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

void Put(RangeFields& fields, uint64_t start, uint64_t end, uint64_t word_start,
         uint64_t word_end) {
  const AddressTwinTexts starts = AddressTwins(start, word_start);
  const AddressTwinTexts ends = AddressTwins(end, word_end);
  fields.start8 = starts.byte;
  fields.start16 = starts.word;
  fields.end8 = ends.byte;
  fields.end16 = ends.word;
}

// Bytes start .. bound - 1 and words start / 2 .. bound / 2 - 1; an empty
// range ends at 0.
void SetRange(RangeFields& fields, uint64_t start, uint64_t bound) {
  const uint64_t word_bound = bound / 2;
  Put(fields, start, bound > 0 ? bound - 1 : 0, start / 2, word_bound > 0 ? word_bound - 1 : 0);
}

}  // namespace

void SetDeviceRange(RangeFields& fields, const SelectedDevice& device) {
  const uint64_t bound = device.Option_Fuse_Type == 1
                             ? 2 * uint64_t{device.Block.MaxAddress()} + 2
                             : uint64_t{device.IcDeviceSize} + (device.HasSecondArea() ? 1 : 0);
  SetRange(fields, device.StartAddress, bound);
}

void SetBufferRange(RangeFields& fields, const DataBuffer& buffer) {
  if (buffer.BufSize() > 0) SetRange(fields, 0, buffer.BufSize());
}

bool GrowBufferForDevice(DataBuffer& buffer, Messages& messages) {
  const uint64_t device_size = buffer.GetDeviceSize();
  if (device_size + DataBuffer::kSizeExtra <= buffer.BufSize()) return false;
  const uint32_t before = buffer.BufSize();
  buffer.ResizeBuffer(static_cast<int64_t>(device_size), messages);
  return buffer.BufSize() != before;
}

bool SetFileRange(RangeFields& fields, const DataBuffer& buffer, Messages& messages,
                  const char* no_file_text) {
  if (buffer.FileSize() <= 0) {
    messages.Show(no_file_text);
    return false;
  }
  // FileSize is one past the file's last byte.
  const uint64_t last = uint64_t(buffer.FileSize()) - 1;
  Put(fields, 0, last, 0, last / 2);
  return true;
}

bool CheckRangeOrReset(RangeFields& fields, const DataBuffer& buffer, const SelectedDevice& device,
                       Messages& messages) {
  const uint64_t start = HexTextToInt(fields.start8);
  const uint64_t end = HexTextToInt(fields.end8);
  if (end != 0 && end >= start && end <= buffer.BufSize()) return true;
  messages.Show("Range Error!!");
  const uint64_t last = std::max<uint64_t>(device.IcDeviceSize, 1) - 1;
  Put(fields, 0, last, 0, last / 2);
  return false;
}

bool CheckRangeOrder(const RangeFields& fields, Messages& messages) {
  return CheckHexRangeOrder(fields.end8, fields.start8, &messages) &&
         CheckHexRangeOrder(fields.end16, fields.start16, &messages);
}

bool CheckRangeInBuffer(const RangeFields& fields, uint64_t buf_size, uint64_t& start,
                        uint64_t& end, Messages& messages) {
  uint64_t word_start = 0, word_end = 0;
  return CheckHexBelow(fields.start8, buf_size, start, &messages) &&
         CheckHexBelow(fields.end8, buf_size, end, &messages) &&
         CheckHexBelow(fields.start16, buf_size, word_start, &messages) &&
         CheckHexBelow(fields.end16, buf_size, word_end, &messages);
}

void ResetEditorView(DataBuffer& buffer) {
  buffer.SetViewPage(0);
  buffer.SetViewTopRow(0);
}

}  // namespace quenlet
