#include "ui/buffer/load_save_windows.h"

#include <QWidget>

#include <utility>

#include "programmer/operation_context.h"
#include "ui/buffer/load_dialog_window.h"
#include "ui/buffer/save_dialog_window.h"
#include "ui/buffer/show_sum_window.h"
#include "ui/controls/window_placement.h"

namespace quenlet {

QtLoadSaveWindows::QtLoadSaveWindows(QWidget* main_window, OperationContext& ops,
                                     LoadSaveHost& host, FileChooser& files, TShowSum& show_sum,
                                     std::string history_ini_file)
    : main_window_(main_window),
      ops_(ops),
      host_(host),
      files_(files),
      show_sum_(show_sum),
      history_ini_file_(std::move(history_ini_file)) {}

bool QtLoadSaveWindows::RunLoadDialog(const std::optional<std::string>& preset_name) {
  TLoadDlg dialog(Env(), files_, history_ini_file_, main_window_);
  if (!dialog.Created()) return false;
  if (preset_name) dialog.SetFileName(*preset_name);
  PlaceWindow(dialog, WindowPlacement::AtOffset(main_window_, kLoadDialogOffset));
  return dialog.exec() == QDialog::Accepted;
}

bool QtLoadSaveWindows::RunSaveDialog() {
  TLoadSaveDlg dialog(Env(), files_, history_ini_file_, main_window_);
  PlaceWindow(dialog, WindowPlacement::OverMainWindow(main_window_));
  return dialog.exec() == QDialog::Accepted;
}

std::string QtLoadSaveWindows::LoadPathText() const {
  return host_.LoadPathText();
}

void QtLoadSaveWindows::SetLoadPathText(const std::string& text) {
  host_.SetLoadPathText(text);
}

std::string QtLoadSaveWindows::SumText() const {
  return ops_.view.SumText();
}

void QtLoadSaveWindows::SetSumText(const std::string& text) {
  ops_.view.SetSum(text);
}

void QtLoadSaveWindows::SetSumRed(bool red) {
  ops_.view.SetSumColour(red ? SumColour::Red : SumColour::WindowText);
}

void QtLoadSaveWindows::SetSummary(const LoadSummary& summary) {
  show_sum_.SetSummary(summary);
}

void QtLoadSaveWindows::ShowSummaryModal() {
  show_sum_.ShowModal();
}

bool QtLoadSaveWindows::TakeShowSummaryRequest() {
  const bool asked = session_.show_sum_after_load;
  session_.show_sum_after_load = false;
  return asked;
}

void QtLoadSaveWindows::RedrawView() {
  if (ops_.refresh_editor) ops_.refresh_editor();
}

int64_t QtLoadSaveWindows::MainWindowHandle() const {
  return host_.MainWindowHandle();
}

std::function<void()> QtLoadSaveWindows::TakeBufferSizing() {
  return session_.TakeBufferSizing(ops_, host_);
}

std::function<bool()> QtLoadSaveWindows::TakeNameHistoryWrite() {
  return std::exchange(session_.name_history_write, nullptr);
}

}  // namespace quenlet
