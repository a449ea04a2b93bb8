#pragma once
// The hand-back protocol of the parameter dialogs: each writes its inputs and
// OK ("1" on confirm, "0" on cancel) into its own section of History_1.ini;
// the caller reads OK back after the modal dialog returns.
#include <cstdint>
#include <functional>
#include <string>

namespace quenlet {

class IniBatch;
class Messages;

// ReadInteger(section, "OK", 0) of the INI file at ini_path.
int32_t ReadDialogOK(const std::string& ini_path, const std::string& section);

// A dialog's confirmed section in one replace of the INI file: all of it,
// or nothing after the message "<path> cannot be written." / "ERROR".
bool WriteDialogSection(const IniBatch& batch, const std::string& ini_path, Messages& messages);

// Runs a command's modal dialog, which returns whether the operator confirmed
// it. False for a cancelled dialog, so that the command does nothing more even
// where the dialog's OK := "0" could not be written; and false after an error
// raised inside it, which goes to the error display.
bool RunDialogGuarded(Messages& messages, const std::function<bool()>& run_dialog);

}  // namespace quenlet
