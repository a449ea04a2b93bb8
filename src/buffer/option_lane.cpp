#include "buffer/option_lane.h"

#include "buffer/data_buffer.h"
#include "device/selected_device.h"
#include "platform/strprintf.h"
#include "state/main_form_state.h"

namespace quenlet {

uint64_t LaneBufferSize(int32_t code, uint32_t buffer_size, uint32_t ic_device_size) {
  const ByteLane lane = ByteLane::FromCode(code);
  if (lane.width() == 1) return buffer_size;
  return uint64_t{ic_device_size} * lane.width();
}

bool CommitLaneChoice(int32_t code, MainFormState& state, const SelectedDevice& device,
                      DataBuffer& buffer, Messages& messages) {
  const ByteLane lane = ByteLane::FromCode(code);
  const uint64_t size = LaneBufferSize(code, state.BufferSize, device.IcDeviceSize);
  if (size + DataBuffer::kSizeExtra > buffer.BufSize() &&
      !buffer.ResizeBuffer(static_cast<int64_t>(size), messages)) {
    return false;
  }
  // The resize accepted the size, so it fits in 32 bits.
  state.Lane = lane;
  state.BufferSize = static_cast<uint32_t>(size);
  state.ProgrammerHasData = 1;
  return true;
}

std::string LaneRangeSizeText(const SelectedDevice& device) {
  const uint32_t last = device.IcBufferSize == 0 ? 0 : device.IcBufferSize - 1;
  return strprintf("%07lX", static_cast<unsigned long>(last));
}

}  // namespace quenlet
