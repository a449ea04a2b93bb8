#pragma once
// The hand-back protocol of the parameter dialogs: each writes its inputs and
// OK ("1" on confirm, "0" on cancel) into its own section of History_1.ini;
// the caller reads OK back after the modal dialog returns.
#include <cstdint>
#include <string>

namespace quenlet {

// ReadInteger(section, "OK", 0) of the INI file at ini_path.
int32_t ReadDialogOK(const std::string& ini_path, const std::string& section);

}  // namespace quenlet
