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
#include <cstdint>

#include "programmer/step_pictures.h"

namespace quenlet {

struct OperationContext;

// Mode 0 a step picture, 1 a run sequence, 2 a passed or failed picture.
bool verify_1Click(OperationContext& ctx, int mode);
bool ConfirmDevice(OperationContext& ctx, int mode);
// The confirm step: confirm of the main area, then of the second area.
bool confirm_nClick(OperationContext& ctx);

bool VerifySecondArea(OperationContext& ctx);

// Devices whose programmer keeps the data, inside an operation that holds
// the lock: the step at work (`_w` over `_n` and `_h`), the read voltages
// (vcc replaced by `vcc_override` when that is not 0) and the buffer
// uploaded with them. False after a failed upload, which has said why; the
// step then shows its failure pictures and nothing more may be sent.
bool PrepareHeldDataCompare(OperationContext& ctx, Step step, int32_t vcc_override = 0);

// The texts a programmer-side compare shows for what failed; null shows none.
struct HeldCompareTexts {
  const char* run_failed;        // request 0x49
  const char* status_not_clean;  // status bytes 0 or 1 not 0
  const char* status_unreadable;
};

// Devices whose programmer keeps the data: one compare of the device with
// the data uploaded to it (operation 6 and the status request), inside an
// operation that holds the lock. Every failure, an unreadable status
// included, shows the step's failure pictures, StepFail and its text. A
// pass shows `_p` (hiding `_w` and `_f`).
bool HeldDataCompare(OperationContext& ctx, Step step, const HeldCompareTexts& texts);
bool ConfirmSecondArea(OperationContext& ctx);

}  // namespace quenlet
