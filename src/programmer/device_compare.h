#pragma once
// Comparing the device with the data buffer (or fuse map): verify after
// programming, confirm after a read, the confirm step, and the second-area
// counterparts. Devices whose programmer keeps the data have the programmer
// compare against the uploaded buffer instead.
//
// Each returns true when no byte differs and every status was clean; false
// after the failure was shown (a difference shows no message), or with
// nothing done when it was refused (another operation runs, or the step's
// busy flag is set).
namespace quenlet {

struct OperationContext;

// Mode 0 a step picture, 1 a run sequence, 2 a passed or failed picture.
bool verify_1Click(OperationContext& ctx, int mode);
bool ConfirmDevice(OperationContext& ctx, int mode);
// The confirm step: confirm of the main area, then of the second area.
bool confirm_nClick(OperationContext& ctx);

bool VerifySecondArea(OperationContext& ctx);
bool ConfirmSecondArea(OperationContext& ctx);

}  // namespace quenlet
