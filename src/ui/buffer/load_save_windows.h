#pragma once
// The windows of the editor's Load and Save commands: the load and save
// dialogs, the summary window, and the main window's fields they touch.
// The application makes one and passes it to the commands
// (LoadSaveContext::windows):
//
//   QtLoadSaveWindows windows(&main_window, ops, host, file_chooser, show_sum,
//                             ProgramIniName(program_file));
//   LoadSaveContext context{buffer, state, paths, messages, progress, windows};
//   LoadFileClick(context);
//
// The sum field and the editor's redraw come from the operation context
// (StepPictures and refresh_editor); the load path field and the window
// handle from the host.
#include <QPoint>
#include <functional>
#include <optional>
#include <string>

#include "app/load_save_dialogs.h"
#include "buffer/load_pipeline.h"

class QWidget;

namespace quenlet {

class FileChooser;
class TShowSum;

class QtLoadSaveWindows : public LoadSaveWindows {
 public:
  // Where the load dialog opens, from the main window's top-left corner
  // (the save dialog opens centred over it).
  static constexpr QPoint kLoadDialogOffset{11, 54};

  // main_window: the dialogs' owner, which the load dialog is placed over
  // (may be null). history_ini_file: the INI file of the name histories;
  // empty means the program's own.
  QtLoadSaveWindows(QWidget* main_window, OperationContext& ops, LoadSaveHost& host,
                    FileChooser& files, TShowSum& show_sum, std::string history_ini_file = {});

  bool RunLoadDialog(const std::optional<std::string>& preset_name) override;
  bool RunSaveDialog() override;
  std::string LoadPathText() const override;
  void SetLoadPathText(const std::string& text) override;
  std::string SumText() const override;
  void SetSumText(const std::string& text) override;
  void SetSumRed(bool red) override;
  void SetSummary(const LoadSummary& summary) override;
  void ShowSummaryModal() override;
  bool TakeShowSummaryRequest() override;
  void RedrawView() override;
  int64_t MainWindowHandle() const override;
  std::function<void()> TakeBufferSizing() override;
  std::function<bool()> TakeNameHistoryWrite() override;

  LoadSaveSession& Session() { return session_; }

 private:
  LoadSaveDialogEnv Env() { return {ops_, host_, session_}; }

  QWidget* main_window_;
  OperationContext& ops_;
  LoadSaveHost& host_;
  FileChooser& files_;
  TShowSum& show_sum_;
  std::string history_ini_file_;
  LoadSaveSession session_;
};

}  // namespace quenlet
