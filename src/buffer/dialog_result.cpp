#include "buffer/dialog_result.h"

#include "platform/ini_file.h"

namespace quenlet {

int32_t ReadDialogOK(const std::string& ini_path, const std::string& section) {
  return IniFile(ini_path).ReadInteger(section, "OK", 0);
}

}  // namespace quenlet
