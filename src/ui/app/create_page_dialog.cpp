#include "ui/app/create_page_dialog.h"

#include "device/select_ic_logic.h"
#include "ui/app/device_dialog_host.h"
#include "ui/app/main_form.h"
#include "ui/device/select_ic_dialog.h"

namespace quenlet {

void QtCreatePageDialog::ShowModal(Place place) {
  // Over the Copy page, as the Type step shows it: three pixels in.
  const QPoint at =
      place == Place::kCreatePanel ? kCreatePanelPosition : TMainForm::kPagePosition + QPoint(3, 0);
  TSelectICDialog& dialog = host_.Dialog();
  dialog.move(window_.mapToGlobal(at));
  dialog.Exec();
}

std::pair<std::string, std::string> QtCreatePageDialog::Texts() const {
  const SelectIcDialogLogic& logic = host_.Dialog().Logic();
  return {logic.ManuEditText(), logic.IcTypeEditText()};
}

}  // namespace quenlet
