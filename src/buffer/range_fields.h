#pragma once
// The byte range that the block, fill and checksum dialogs share: start and
// end as byte addresses and as word addresses (byte / 2), each a hex field
// of kAddressDigits digits, with the range buttons "IC", "Max" and "File",
// the reset after "Range Error!!" and the checks at OK.
//
// Values the program puts into the fields are clamped to what a field holds
// (AddressTwins). What the user types into one field of a pair sets its
// twin (HexAddressEdit's TwinByteWordAddresses); text set here leaves the
// twins alone.
#include <cstdint>
#include <string>

namespace quenlet {

class DataBuffer;
class Messages;
struct SelectedDevice;

struct RangeFields {
  std::string start8 = "0000000";
  std::string end8 = "0000000";
  std::string start16 = "0000000";
  std::string end16 = "0000000";
};

// "IC" and the dialogs' start: the range of the selected device, bytes
// StartAddress .. N - 1 and words StartAddress / 2 .. N / 2 - 1, where the end
// bound N is IcDeviceSize, + 1 with a second memory area, and 2 x the main
// area's last address + 2 where the programmer keeps the data
// (Option_Fuse_Type 1). An empty range (N 0) ends at 0, as in every dialog
// (LastAddressText).
void SetDeviceRange(RangeFields& fields, const SelectedDevice& device);

// "Max": the whole buffer, when it has bytes. Does not grow the buffer.
void SetBufferRange(RangeFields& fields, const DataBuffer& buffer);

// The block and save dialogs' "Max" first grows the buffer: when the device
// size + 1024 exceeds the buffer's size, it is resized for the device
// (after its message when that fails). True when the size changed.
bool GrowBufferForDevice(DataBuffer& buffer, Messages& messages);

// "File": 0 to the last byte of the loaded file (FileSize - 1). False, after
// the plain message no_file_text, when no file has been loaded.
bool SetFileRange(RangeFields& fields, const DataBuffer& buffer, Messages& messages,
                  const char* no_file_text);

// The first check of the block and fill OK: a byte end of 0, below the start
// or past the buffer's size shows "Range Error!!" and puts the device's
// whole size back (0 .. IcDeviceSize - 1). True when the range passed.
bool CheckRangeOrReset(RangeFields& fields, const DataBuffer& buffer, const SelectedDevice& device,
                       Messages& messages);

// Both ends above their starts, the byte pair first ("Input Value Error !" /
// "Error").
bool CheckRangeOrder(const RangeFields& fields, Messages& messages);

// All four addresses below the buffer's size ("Input Value Error !" /
// "ERROR"); start and end then hold the byte range.
bool CheckRangeInBuffer(const RangeFields& fields, uint64_t buf_size, uint64_t& start,
                        uint64_t& end, Messages& messages);

// The editor's views go back to their first row.
void ResetEditorView(DataBuffer& buffer);

}  // namespace quenlet
