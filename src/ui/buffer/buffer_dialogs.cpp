#include "ui/buffer/buffer_dialogs.h"

#include <QPointer>

#include "app/block_dialogs.h"
#include "app/fill_sum_dialogs.h"
#include "buffer/dialog_result.h"
#include "programmer/operation_context.h"
#include "ui/buffer/block_dialog_window.h"
#include "ui/buffer/fill_sum_dialog_windows.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

// Shows a fresh dialog of type Dialog modally, centred over its owner; it
// is deleted on return. Whether the operator confirmed it.
template <class Dialog>
std::function<bool()> Modal(OperationContext& ops, const QPointer<QWidget>& owner) {
  return [&ops, owner] {
    Dialog dialog(ops, owner.data());
    PlaceWindow(dialog, WindowPlacement::OverMainWindow(owner.data()));
    return dialog.exec() == QDialog::Accepted;
  };
}

}  // namespace

void AddBufferDialogCommands(TMainEdit::Commands& commands, OperationContext& ops, QWidget* owner) {
  const QPointer<QWidget> main_window(owner);
  commands.Block = [&ops, main_window] {
    RunBlockCommand(ops, Modal<TBlockDialog>(ops, main_window));
  };
  commands.Resize = [&ops, main_window] {
    RunDialogGuarded(ops.messages, Modal<TResizeBufDialog>(ops, main_window));
  };
  commands.FillData = [&ops, main_window] {
    RunFillCommand(ops, Modal<TFillDataDialog>(ops, main_window));
  };
  commands.GetSum = [&ops, main_window] {
    RunSumCommand(ops, Modal<TGetSumDialog>(ops, main_window));
  };
}

}  // namespace quenlet
