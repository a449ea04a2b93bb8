#include "buffer/dialog_result.h"

#include <exception>

#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

namespace quenlet {

int32_t ReadDialogOK(const std::string& ini_path, const std::string& section) {
  return IniFile(ini_path).ReadInteger(section, "OK", 0);
}

bool WriteDialogSection(const IniBatch& batch, const std::string& ini_path, Messages& messages) {
  IniFile ini(ini_path);
  if (ini.Write(batch)) return true;
  messages.Box(strprintf("%s cannot be written.", ini.path().c_str()), "ERROR", MessageButtons::Ok,
               MessageIcon::Stop);
  return false;
}

bool RunDialogGuarded(Messages& messages, const std::function<bool()>& run_dialog) {
  try {
    return run_dialog();
  } catch (const std::exception& error) {
    messages.ShowError(error.what());
    return false;
  }
}

}  // namespace quenlet
