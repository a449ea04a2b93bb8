#pragma once
// The option window's byte-lane choice: where a byte-wide device's bytes lie
// in the data buffer during the device operations (lane codes 0 to 6, see
// state/byte_lane.h). A click only picks a code; OK commits it here.
#include <cstdint>
#include <string>

namespace quenlet {

class DataBuffer;
class Messages;
struct MainFormState;
struct SelectedDevice;

// BufferSize for the lane: unchanged for every byte, the device size times
// 2 or 4 for 16- and 32-bit lanes (64 bits: a large device does not wrap).
uint64_t LaneBufferSize(int32_t code, uint32_t buffer_size, uint32_t ic_device_size);

// OK: DataSetMode, LaneOffset, LaneWidth and BufferSize by the lane table;
// the buffer grows when the lane needs more and never shrinks (loaded data
// stays). A size the buffer cannot take is refused with the buffer's
// message, and then nothing changes: the previous lane stays. Otherwise
// ProgrammerHasData := 1. True when the lane was committed.
bool CommitLaneChoice(int32_t code, MainFormState& state, const SelectedDevice& device,
                      DataBuffer& buffer, Messages& messages);

// The hidden range label: the device's last buffer address (IcBufferSize - 1)
// in "%07lX"; 0 for a device without a buffer size.
std::string LaneRangeSizeText(const SelectedDevice& device);

}  // namespace quenlet
