#pragma once
// The load and save commands' windows without windows: scripted dialogs and
// recorded main-window fields.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "buffer/data_buffer.h"
#include "buffer/load_pipeline.h"
#include "buffer/load_summary.h"
#include "platform/ini_file.h"

namespace quenlet::testing {

// The load and save commands' windows: scripted dialogs, recorded fields.
class FakeLoadSaveWindows : public LoadSaveWindows {
 public:
  bool RunLoadDialog(const std::optional<std::string>& preset_name) override {
    ++load_dialogs;
    preset = preset_name;
    if (on_load_dialog) return on_load_dialog();
    return true;
  }
  bool RunSaveDialog() override {
    ++save_dialogs;
    if (on_save_dialog) on_save_dialog();
    return save_confirmed;
  }
  std::string LoadPathText() const override { return load_path; }
  void SetLoadPathText(const std::string& text) override { load_path = text; }
  std::string SumText() const override { return sum_text; }
  void SetSumText(const std::string& text) override { sum_text = text; }
  void SetSumRed(bool red) override { sum_red = red; }
  void SetSummary(const LoadSummary& s) override { summary = s; }
  void ShowSummaryModal() override { ++summaries_shown; }
  bool TakeShowSummaryRequest() override { return std::exchange(show_summary, false); }
  void RedrawView() override { ++redraws; }
  int64_t MainWindowHandle() const override { return 0x1234; }

  std::function<bool()> on_load_dialog;
  std::function<void()> on_save_dialog;
  bool save_confirmed = true;  // what the save dialog ends with
  std::optional<std::string> preset;
  int load_dialogs = 0, save_dialogs = 0, summaries_shown = 0, redraws = 0;
  std::string load_path, sum_text = "00000000";
  bool sum_red = false, show_summary = false;
  LoadSummary summary;
};

// What the load dialog leaves behind when the operator loads bytes 0 ..
// last of `file` in `format` at 0, with `fill` around the data or without a
// fill; the dialog also sets the editor's format.
inline void WriteLoadDialog(const std::string& history_ini, DataBuffer& buffer,
                            const std::string& file, uint64_t last, int32_t format,
                            std::optional<uint8_t> fill) {
  // One write, as the dialog's Load button makes it.
  IniBatch h;
  h.WriteString("LoadDlg", "Name", file);
  h.WriteInteger("LoadDlg", "SourceSAdd", 0);
  h.WriteInteger("LoadDlg", "SourceEAdd", static_cast<int32_t>(last));
  h.WriteInteger("LoadDlg", "DistSAdd", 0);
  h.WriteInteger("LoadDlg", "UserFill", fill.value_or(0));
  h.WriteInteger("LoadDlg", "UnuserFillCheck", fill ? 1 : 0);
  h.WriteInteger("LoadDlg", "Format", format);
  h.WriteString("LoadDlg", "OK", "1");
  IniFile(history_ini).Write(h);
  buffer.SetFileFormat(format);
}

}  // namespace quenlet::testing
