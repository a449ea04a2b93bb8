#pragma once
// The Copy page's step pictures as the operator clicks them: each click
// becomes the call of a device operation, with the pictures, sounds and
// follow-ups around it.
//
//   _n  the step itself (erase, blank check, program with its second area,
//       verify with its second area, read with its automatic confirm,
//       protect; confirm_n is the confirm step of the block engine)
//   _p, _f  the guarded call: the step again after a pass or a failure
//   load_n, save_n  give way to their highlighted picture, which takes the
//       next click: the Load step (the load dialog, and for a programmer
//       that keeps the data the download and its sum) and the Save step
//   edit_n, edit_h  the Edit page, or for a fuse device the fuse-map editor
//
// The Type step is the device dialog's own command; the Load step runs it
// when a load waited for a device, once.
//
// Where the block engine describes the same step with other texts, these
// handlers keep their own texts over the same cores (HeldDataCompare).
#include <functional>

#include "programmer/step_pictures.h"

namespace quenlet {

class Application;
struct OperationContext;

// The fuse-map editor as the Load, Save and Edit steps of a fuse device use
// it. The window fills it; an empty function does nothing.
struct FuseEditorSteps {
  std::function<bool()> load;  // JEDEC load into the map (GAL_loadClick)
  std::function<bool()> save;  // JEDEC save of the map (Gal_SaveClick)
  std::function<void()> show;  // placed beside the steps and shown
};

struct CopyStepHooks {
  // The buffer editor's load command; true when data was loaded.
  std::function<bool()> load_file;
  // The buffer editor's save command.
  std::function<void()> save_file;
  // The Type step (the device dialog).
  std::function<void()> type_step;
  std::function<void()> edit_page;
  std::function<void()> copy_page;
  FuseEditorSteps fuse;
};

class CopySteps {
 public:
  CopySteps(OperationContext& ctx, CopyStepHooks hooks);

  // A click on the picture `layer` of `step`. Pictures without a handler
  // (the frames, the working pictures, the Type step) do nothing.
  void Click(Step step, Layer layer);

  // The _p and _f handlers of erase, blank check, program, verify, read and
  // protect. A click on the same step from inside its message pump does
  // nothing.
  void GuardedCall(Step step, Layer layer);
  // program_1Click, then the second area when the device has one.
  void ProgramStep(int mode);
  void VerifyStep();
  void ReadStep();
  // confirm_p, confirm_f.
  void ConfirmStep();
  void LoadStep();
  void SaveStep();
  void EditStep(bool fuse_editor);

 private:
  void AutoConfirm();
  bool DownloadToProgrammer();

  OperationContext& ctx_;
  CopyStepHooks hooks_;
  bool load_waits_for_type_ = false;
};

// Fills the application's step commands (all but the Type step's) with a
// CopySteps over the load and save dialogs, the pages and `fuse`, and the
// checksum button's.
void InstallCopySteps(Application& app, FuseEditorSteps fuse);

}  // namespace quenlet
