#pragma once
// The Type step of the Copy page: the device-selection dialog, then the
// Copy page made ready for what was chosen. OK relabels the device; Cancel
// leaves the label on the device that is still loaded.
#include <functional>
#include <string>

namespace quenlet {

struct OperationContext;
struct SelectedDevice;

struct TypeStepHooks {
  // Shows the device dialog modally; returns when it has closed (OK's
  // device set-up included).
  std::function<void()> show_dialog;
  // The chosen manufacturer and part, after an OK.
  std::function<std::pair<std::string, std::string>()> choice;
  // The device label: manufacturer and part.
  std::function<void(const std::string&, const std::string&)> relabel;
  // What follows a chosen device (Application::FollowChosenDevice): an
  // empty result indicator, and the fuse-map editor dropped and, for a fuse
  // device, made for the new device.
  std::function<void()> follow_device;
  // The Load step, for a load that waited for a device.
  std::function<void()> load_step;
};

// type_hClick: the dialog; VerifyMode, the byte lanes, RunReady and
// ProgrammerHasData reset; after an OK the label, the step pictures of the
// new device, its empty result and its fuse editor; then the Load step when
// a load waits.
void TypeStep(OperationContext& ctx, const TypeStepHooks& hooks);

}  // namespace quenlet
