#pragma once
// The Copy page's passes: Run, AutoRun and the project list's Once and Batch
// run the ticked steps erase, blank check, program (then the second memory
// area), verify (then the second memory area) and protect in that order, as
// one pass over the device in the socket; a complete pass counts. Stop ends
// a pass before its next step, and the pass counter has its reset.
//
// A step runs only when its run box is ticked and enabled (a box stays
// ticked, disabled, for a step the device lacks). The operator sees one of
// Pass, Wait and Fail: a pass starts with Fail hidden, and a failed or
// stopped pass shows Fail, never Pass.
//
// The passes refuse to start while a device operation runs. The shell's
// busy gate (Application::RunCommand) keeps a second pass from starting
// inside the first's message pump; only Stop acts then.
namespace quenlet {

class Application;
class SkinEngine;
struct MainFormState;
struct OperationContext;

// Texts of the passes, exactly as the operator knows them.
inline constexpr const char* kUserStopText = "User Stop";

// The AutoRun pass: the Pass picture is held back by the steps while it
// runs and shown at its end unless the pass was stopped. True when the pass
// ran to its end (also after Stop and with nothing ticked), false when a
// step failed or the pass could not start.
bool AutoRunSequence(OperationContext& ctx);

// Run: the same pass with each step's own Pass picture; the pass sound at
// its end when a step ran and Pass shows.
void Run_HintClick(OperationContext& ctx);

// AutoRun: with no device chosen the fail sound and the text that says so
// (op_text::kNoDeviceChosen); otherwise the pass,
// and after a failed pass a reconnect that shows the DEMO text when no unit
// answers. Returns what AutoRunSequence returned (false without a device).
bool AutoRun_HintClick(OperationContext& ctx, bool no_device_chosen);

// The project list's passes, with the Run and AutoRun buttons drawn hovered
// while they run and released after.
void RunOnceSequence(OperationContext& ctx, SkinEngine& skin);
void RunBatchSequence(OperationContext& ctx, SkinEngine& skin, bool no_device_chosen);
// The same over the program's own objects.
void RunOnceSequence(Application& app);
void RunBatchSequence(Application& app);

// Stop: the fail sound (whatever the sound option); during a pass Fail,
// "User Stop", and the pass skips its remaining steps.
void Stop_HintClick(OperationContext& ctx);

// The pass counter back to 0, unless the program is exiting.
void ZeroBtnClick(MainFormState& state);

// Fills the application's Run, AutoRun, Stop and counter-reset commands.
void InstallRunSequences(Application& app);

}  // namespace quenlet
