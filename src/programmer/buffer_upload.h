#pragma once
// The upload of the device's data from the buffer into the programmer's RAM,
// for devices whose programmer keeps the data itself: it then sums the data
// or verifies the device against it. No operation is started here.
namespace quenlet {

struct OperationContext;

// Sends every block of the device's data (both memory areas, as they lie in
// the buffer) with request 0x43 and two 0x4C page writes per 64 KB page.
// True when every block went out. False, after StepFail and its message,
// when a transfer failed; false with nothing sent when another operation
// runs or the program step's busy flag is set. Shows no step pictures.
bool UploadBufferToProgrammer(OperationContext& ctx);

// The same for an operation that is already running (it holds the lock).
bool RunBufferUpload(OperationContext& ctx);

}  // namespace quenlet
