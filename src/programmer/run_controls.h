#pragma once
// The two routines that set up the Copy page's steps and run controls.
namespace quenlet {

struct OperationContext;

// Lets the message queue run once; then, unless no device was chosen yet
// (History_1.ini [SelectDlg] Manufacturer "First Setup", "None" or absent:
// NoDeviceChosen), shows or hides each
// step's pictures and enables its run box by the device's step word. Mode 0
// also ticks the boxes of the steps the device has (never protect's) and
// unticks the others; other modes keep the ticks.
void RefreshStepButtons(OperationContext& ctx, int mode);

// Enables the Copy page's step buttons, panels and run buttons.
void EnableRunControls(OperationContext& ctx);

}  // namespace quenlet
