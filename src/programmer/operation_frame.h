#pragma once
// The frame every device operation shares: refusing a second start, reloading
// the device, putting the operation's voltages into the parameter block, the
// failure and pass pictures, and the requests in the form the operations use.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

#include "device/selected_device.h"
#include "programmer/operation_context.h"
#include "programmer/protocol.h"

namespace quenlet {

// True when the operation must not start: another operation holds the lock
// (the guard did not get it) or the step's busy flag is set. A refused
// operation does nothing at all and reports failure.
bool StartRefused(const OperationContext& ctx, const OperationGuard& guard,
                  std::optional<BusyStep> step);

// The device record reloaded from its file, and holding a device. When it
// is not, the step shows its failure pictures and StepFail; the caller
// returns false.
bool ReloadDevice(OperationContext& ctx, Step step);
// A record that holds no device (its device file could not be opened, or
// holds no device section) is refused: what is wrong with the file, the
// step's failure pictures and StepFail. True when refused.
bool RefusedWithoutDevice(OperationContext& ctx, Step step);
// What is wrong with the device file of a record that holds no device.
std::string NoDeviceFileText(const OperationContext& ctx);

uint16_t DeviceVoltage(const OperationContext& ctx, VoltageIndex index);
// Block bytes 32-37.
void PutVoltages(OperationContext& ctx, uint16_t vcc, uint16_t vpp, uint16_t vhh);
// read_vcc, read_vpp, read_vhh; with `vcc_override` non-zero it replaces vcc.
void PutReadVoltages(OperationContext& ctx, int32_t vcc_override = 0);

// Hide `_w` and `_p`, show `_f`.
void FailurePictures(StepPictures& view, Step step);
// Hide `_w`, show `_p`.
void PassPictures(StepPictures& view, Step step);
// Shows Pass, unless a sequence holds it back (DeferPassImage), in which
// case the pending mark is cleared instead.
void ShowPassUnlessDeferred(OperationContext& ctx);
// The pass sound when sounds are on and Pass is showing.
void PlayPassSoundIfShown(OperationContext& ctx);
// The pass sound of a single step: PlayPassSoundIfShown, with no run
// sequence in progress.
void PlayPassSoundIfDue(OperationContext& ctx);

// After a status error of a read, verify or confirm: the Copy page is made
// ready for a new start (the step's normal picture, the load step, and for
// read and confirm the erase and blank-check steps), RunReady := 1.
void RestoreCopyPage(OperationContext& ctx, Step step, bool with_erase_and_blank);

// The failure display of a block operation: `texts` in order, the step's
// failure pictures and StepFail. The reads and confirm run StepFail before
// their message (`step_fail_first`); after a failed request 0x49 they run
// it again after the pictures (`step_fail_after`).
void ShowBlockFailure(OperationContext& ctx, Step step, std::initializer_list<const char*> texts,
                      bool step_fail_first, bool step_fail_after);

// Shows `text` as a plain message box.
void ShowMessage(OperationContext& ctx, const char* text);

// --- requests in the operations' form; each is one request (and its data) ---
bool SendParams(OperationContext& ctx);                            // 0x47 + 128 bytes
bool Announce(OperationContext& ctx);                              // 0x43 (0, 0)
bool RunOp(OperationContext& ctx, uint8_t operation);              // 0x49 (0x4000, op << 8)
bool ReadStatus(OperationContext& ctx, ProgrammerStatus& status);  // 0x42, 16 bytes
bool WritePageRequest(OperationContext& ctx);                      // 0x4C alone
bool WriteBulk(OperationContext& ctx, std::span<const uint8_t> data);
bool ReadPageRequest(OperationContext& ctx);  // 0x4B alone
bool ReadBulk(OperationContext& ctx, std::span<uint8_t> data);

// The checksum field shows `sum` as 8 hexadecimal digits.
void ShowSum(OperationContext& ctx, uint32_t sum);

// Lets the queue run before the device work of a step's follow-up (the
// second memory area after the main one). A Stop pressed during the main
// area's pages is seen here; inside a pass that stop ends the follow-up
// before anything is sent: false, and the follow-up returns true with
// nothing done (nothing failed, the pass was stopped).
bool PumpBeforeFollowUp(OperationContext& ctx);

}  // namespace quenlet
