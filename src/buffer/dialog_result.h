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

// Runs a command's modal dialog. An error raised inside it goes to the error
// display, and then false: the command does nothing more.
bool RunDialogGuarded(Messages& messages, const std::function<void()>& run_dialog);

}  // namespace quenlet
