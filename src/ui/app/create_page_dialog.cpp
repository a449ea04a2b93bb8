#include "ui/app/create_page_dialog.h"

#include "device/select_ic_logic.h"
#include "ui/app/device_dialog_host.h"
#include "ui/app/main_form.h"
#include "ui/controls/window_placement.h"
#include "ui/device/select_ic_dialog.h"

namespace quenlet {

void QtCreatePageDialog::ShowModal(Place place) {
  // Over the Create panel, or over the Copy page as the Type step shows it.
  const QPoint at =
      place == Place::kCreatePanel ? kCreatePanelPosition : DeviceDialogHost::kDialogOffset;
  TSelectICDialog& dialog = host_.Dialog();
  PlaceWindow(dialog, WindowPlacement::AtOffset(&window_, at));
  dialog.Exec();
}

std::pair<std::string, std::string> QtCreatePageDialog::Texts() const {
  const SelectIcDialogLogic& logic = host_.Dialog().Logic();
  return {logic.ManuEditText(), logic.IcTypeEditText()};
}

}  // namespace quenlet
