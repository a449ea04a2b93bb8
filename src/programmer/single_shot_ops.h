#pragma once
// The device operations that move no data pages: erase, blank check and
// protect, the Copy page's checksum button and the engineering panel's
// program test.
//
// Mode of a core: 0 a plain click on the step picture or a test button, 1 a
// run sequence, 2 a click on the step's passed or failed picture (which also
// shows the working picture while the message queue runs).
//
// A core returns true only when its requests and the status request
// succeeded with status bytes 0 and 1 both 0. On false it has already shown
// its failure, except when it was refused because another operation runs
// or the step's busy flag is set: then it did nothing at all.
namespace quenlet {

struct OperationContext;

bool erase_1Click(OperationContext& ctx, int mode);
bool check_1Click(OperationContext& ctx, int mode);
bool protect_1Click(OperationContext& ctx, int mode);

// The checksum button of the buffer page: the programmer's sum of the data it
// holds (devices whose programmer keeps the data), else the buffer's sum
// over the device size; shown in the checksum field, red when it changed.
// Returns false when it was refused or failed.
bool v_HintClick(OperationContext& ctx);

// The hidden program test: a 2048-byte upload from the buffer, then
// operation 2. Returns true when the status came back clean.
bool progClick(OperationContext& ctx);

}  // namespace quenlet
