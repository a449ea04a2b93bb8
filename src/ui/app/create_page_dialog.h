#pragma once
// The run's device dialog as the Create page shows it: over the Create page
// (where the layout keeps that page) or over the Copy page, as the Type
// step does.
#include <QPoint>

#include "app/create_page.h"

namespace quenlet {

class DeviceDialogHost;
class TMainForm;

class QtCreatePageDialog : public CreatePageDialog {
 public:
  // The Create page's place in the main window.
  static constexpr QPoint kCreatePanelPosition{95, 55};

  QtCreatePageDialog(DeviceDialogHost& host, TMainForm& window) : host_(host), window_(window) {}

  void ShowModal(Place place) override;
  std::pair<std::string, std::string> Texts() const override;

 private:
  DeviceDialogHost& host_;
  TMainForm& window_;
};

}  // namespace quenlet
