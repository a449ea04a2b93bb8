#include "ui/app/hardware_commands.h"

#include <QMetaObject>

#include "app/application.h"
#include "ui/app/main_form.h"
#include "ui/controls/window_placement.h"
#include "ui/programmer/hardware_option_window.h"

namespace quenlet {

HardwareCommands::HardwareCommands(Application& app, TMainForm& window)
    : app_(app), window_(window), input_(&window), panel_(app.operations(), input_) {
  // A panel click runs from the event loop (an accessibility press must not
  // wait for an input box) and through the busy gate.
  auto run = [this](const std::function<void()>& work) {
    QMetaObject::invokeMethod(
        &window_, [this, work] { app_.RunCommand(work); }, Qt::QueuedConnection);
  };
  panel_widget_ = new EngineeringPanelWidget(panel_, run, window.CopyPage());
  // The Create page's type button, which the panel carries.
  panel_widget_->AddCommandButton("Button14", "Create Type", "Create page device", [this] {
    if (const auto& create_type = app_.commands().create_type) create_type();
  });
  panel_widget_->move(kPanelPosition);
  panel_widget_->resize(panel_widget_->sizeHint());
  panel_widget_->SetSramButtonsEnabled(window.SramButtonsEnabled());
  QObject::connect(&window, &TMainForm::SramButtonsChanged, panel_widget_,
                   &EngineeringPanelWidget::SetSramButtonsEnabled);

  ShellCommands& c = app.commands();
  c.options = [this] { Setup_HintClick(); };
  c.engineering_show = [this] {
    panel_widget_->show();
    panel_widget_->raise();
  };
  c.engineering_hide = [this] { panel_widget_->hide(); };
  window.Refresh();
}

HardwareCommands::~HardwareCommands() {
  ShellCommands& c = app_.commands();
  c.options = nullptr;
  c.engineering_show = nullptr;
  c.engineering_hide = nullptr;
  delete panel_widget_.data();
}

void HardwareCommands::Setup_HintClick() {
  if (app_.state().ExitInProgress == 1) return;
  THardWare_Option dialog(
      app_.operations(), [this] { window_.Refresh(); }, &window_);
  PlaceWindow(dialog, WindowPlacement::AtOffset(&window_, kWindowOffset));
  dialog.ShowHardwareInfo();
  dialog.exec();
}

}  // namespace quenlet
