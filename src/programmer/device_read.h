#pragma once
// Reading the device into the data buffer (or, for a fuse device, the fuse
// map): the read step's core with its byte-wide and word-wide routines and
// their second-area counterparts.
namespace quenlet {

struct OperationContext;

// The read step's core: reloads the device and reads its main area with the
// routine that the high byte of read_mode names (0 or 1 bytes, 4 words),
// then the second area when there is one; enables the run controls. For
// devices of option types 2 and 3 it then has the programmer prepare the
// option page. True when the whole device was read; false after the failure
// was shown (an unknown routine included), or with nothing done when it was
// refused (another operation runs, or the read step's busy flag is set).
bool readClick(OperationContext& ctx);

// The routines of readClick; callers hold the operation lock.
bool ReadDeviceBytes(OperationContext& ctx);
bool ReadDeviceWords(OperationContext& ctx);
bool ReadSecondAreaBytes(OperationContext& ctx);
bool ReadSecondAreaWords(OperationContext& ctx);

}  // namespace quenlet
