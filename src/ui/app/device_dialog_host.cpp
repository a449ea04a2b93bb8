#include "ui/app/device_dialog_host.h"

#include "app/application.h"
#include "app/type_step.h"
#include "ui/app/main_form.h"
#include "ui/controls/window_placement.h"
#include "ui/device/select_ic_dialog.h"

namespace quenlet {

static_assert(DeviceDialogHost::kDialogOffset == TMainForm::kPagePosition + QPoint(3, 0));

DeviceDialogHost::DeviceDialogHost(Application& app, TMainForm& window)
    : app_(app),
      window_(window),
      setup_(app.operations(), [&app] { app.ApplyDeviceBufferSize(); }) {
  dialog_ = std::make_unique<TSelectICDialog>(
      SelectIcEnv{app.paths(), app.state(), app.device(), app.messages(), opener_, setup_},
      &window);
  app.commands().step(Step::Type) = [this](Layer layer) { TypeClick(layer); };
}

DeviceDialogHost::~DeviceDialogHost() {
  app_.commands().step(Step::Type) = nullptr;
}

void DeviceDialogHost::TypeClick(Layer layer) {
  if (layer == Layer::n) {
    app_.pictures().Hide(Step::Type, Layer::n);
    return;
  }
  TypeStepHooks hooks;
  hooks.show_dialog = [this] { ShowDialog(); };
  hooks.choice = [this] {
    const SelectIcDialogLogic& logic = dialog_->Logic();
    return std::pair(logic.ChosenManufacturer(), logic.ChosenPart());
  };
  hooks.relabel = [this](const std::string& manufacturer, const std::string& part) {
    app_.SetSelectedType(manufacturer, part);
  };
  hooks.follow_device = [this] { app_.FollowChosenDevice(); };
  hooks.load_step = [this] {
    if (const auto& load = app_.commands().step(Step::Load)) load(Layer::h);
  };
  TypeStep(app_.operations(), hooks);
}

void DeviceDialogHost::ShowDialog() {
  PlaceWindow(*dialog_, WindowPlacement::AtOffset(&window_, kDialogOffset));
  dialog_->Exec();
}

}  // namespace quenlet
