#pragma once
// The editor's popup commands that open the block, resize, fill and
// checksum dialogs: each dialog is made for one use, shown modally over
// `owner` (the main window; may be null) and deleted, and the command then
// does its work (app/block_dialogs.h, app/fill_sum_dialogs.h).
//
//   TMainEdit::Commands commands;
//   AddBufferDialogCommands(commands, app.operations(), &main_window);
//   editor.SetCommands(commands);
#include "ui/buffer/main_edit.h"

namespace quenlet {

struct OperationContext;

// Fills in commands.Block, Resize, FillData and GetSum.
void AddBufferDialogCommands(TMainEdit::Commands& commands, OperationContext& ops, QWidget* owner);

}  // namespace quenlet
