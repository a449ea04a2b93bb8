#pragma once
// A program directory of a test's own: files put in by relative path (folders
// made on the way); recording fakes of the device dialog's opener and set-up.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "device/select_ic_logic.h"
#include "device/selected_device.h"
#include "platform/document_opener.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace quenlet::testing {

class ProgramDirTest : public TempDirTest {
 protected:
  // `relative` with '/' between folders.
  void Put(const std::string& relative, std::string_view text) {
    const std::filesystem::path path = dir_ / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteFile(path, text);
  }
  std::string Root() const { return dir_.string() + "/"; }
  ProgramPaths Paths() const { return ProgramPaths(Root()); }
};

class FakeDocumentOpener : public DocumentOpener {
 public:
  bool Open(const std::string& path) override {
    opened.push_back(path);
    return opens;
  }
  std::vector<std::string> opened;
  bool opens = true;
};

// The device dialog's OK hands on to it: records whether the part changed.
class RecordingDeviceSetup : public DeviceSetup {
 public:
  void Apply(bool part_changed) override { applied.push_back(part_changed); }
  std::vector<bool> applied;
};

// What the device dialog works with, over the test's program directory.
class DeviceDialogTest : public ProgramDirTest {
 protected:
  void SetUp() override {
    ProgramDirTest::SetUp();
    paths = Paths();
    state.ProgramDir = Root();
    state.HistoryIniFile = Root() + "History_1.ini";
  }
  SelectIcEnv Env() { return SelectIcEnv{paths, state, device, messages, opener, setup}; }
  // History_1.ini [SelectDlg] key, or "(missing)".
  std::string SelectDlg(const std::string& key) const {
    return IniFile(state.HistoryIniFile).ReadString("SelectDlg", key, "(missing)");
  }

  ProgramPaths paths{""};
  MainFormState state;
  SelectedDevice device;
  FakeMessages messages;
  FakeDocumentOpener opener;
  RecordingDeviceSetup setup;
};

}  // namespace quenlet::testing
