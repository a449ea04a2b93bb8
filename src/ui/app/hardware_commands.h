#pragma once
// The main window's hardware commands: the Options button opens the
// hardware-option window, and the Copy page's hidden trigger shows and hides
// the engineering panel. Made once over the application and its main window
// (after the window); it fills those commands and clears them again when it
// goes.
#include <QPointer>

#include "programmer/engineering_panel.h"
#include "ui/programmer/engineering_panel_widget.h"

namespace quenlet {

class Application;
class TMainForm;

class HardwareCommands {
 public:
  // The engineering panel's place on the Copy page: clear of the trigger in
  // the bottom right corner.
  static constexpr QPoint kPanelPosition{8, 220};
  // The hardware window's place relative to the main window.
  static constexpr QPoint kWindowOffset{95, 55};

  HardwareCommands(Application& app, TMainForm& window);
  ~HardwareCommands();
  HardwareCommands(const HardwareCommands&) = delete;
  HardwareCommands& operator=(const HardwareCommands&) = delete;

  // Options: unless the program is exiting, the hardware-option window with
  // the unit's identification, shown modally and freed.
  void Setup_HintClick();

  EngineeringPanel& Panel() { return panel_; }
  EngineeringPanelWidget* PanelWidget() const { return panel_widget_; }

 private:
  Application& app_;
  TMainForm& window_;
  QtInputBox input_;
  EngineeringPanel panel_;
  QPointer<EngineeringPanelWidget> panel_widget_;
};

}  // namespace quenlet
