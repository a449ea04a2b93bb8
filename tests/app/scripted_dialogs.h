#pragma once
// The load and save dialogs as the operator fills them in, without windows:
// their own logic answers, with the names the test gives.
#include <functional>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/load_save_dialogs.h"

namespace quenlet::testing {

class ScriptedDialogs : public ShellLoadSaveWindows {
 public:
  using ShellLoadSaveWindows::ShellLoadSaveWindows;

  bool RunLoadDialog(const std::optional<std::string>& preset) override {
    ++load_dialogs;
    LoadDialogLogic dialog(Env());
    if (!dialog.FormCreate()) return false;
    dialog.fields().name = preset.value_or(load_name);
    dialog.NameEditChange(dialog.fields().name);
    if (dialog.Load()) return true;
    dialog.Cancel();
    return false;
  }
  bool RunSaveDialog() override {
    SaveDialogLogic dialog(Env());
    dialog.FormCreate();
    dialog.fields().name = save_name;
    dialog.fields().format = save_format;
    dialog.FillICSizeBBClick();
    if (dialog.Save()) return true;
    dialog.Cancel();
    return false;
  }
  bool TakeShowSummaryRequest() override {
    session.show_sum_after_load = false;
    return false;
  }
  std::function<void()> TakeBufferSizing() override {
    return session.TakeBufferSizing(app_.operations(), app_);
  }

  LoadSaveSession session;
  std::string load_name;
  std::string save_name;
  int32_t save_format = 0;
  int load_dialogs = 0;

 private:
  LoadSaveDialogEnv Env() { return {app_.operations(), app_, session}; }
};

}  // namespace quenlet::testing
