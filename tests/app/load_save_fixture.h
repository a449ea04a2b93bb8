#pragma once
// The load and save dialogs' world: a program directory in a temporary
// folder, a selected byte-wide device with its buffer, the Copy page, and a
// host whose device sizing records its calls. Messages are recorded with
// their captions and icons.
#include <string>

#include "app/load_save_dialogs.h"
#include "platform/ini_file.h"
#include "programmer/ops_fixture.h"
#include "support/temp_dir.h"

namespace quenlet::testing {

class FakeLoadSaveHost : public LoadSaveHost {
 public:
  explicit FakeLoadSaveHost(OperationContext& ops) : ops_(ops) {}
  bool NoDeviceChosen() const override { return no_device; }
  // As the program sizes the buffer for a byte-wide device: at least 64 KB.
  void ApplyDeviceBufferSize() override {
    ++device_sizings;
    MainFormState& s = ops_.state;
    s.DeviceBufferSize = std::max<uint32_t>(ops_.device.IcDeviceSize, 0x10000);
    if (s.BufferSize > s.DeviceBufferSize) {
      s.DeviceBufferSize = s.BufferSize;
    } else {
      s.BufferSize = s.DeviceBufferSize;
    }
    ops_.buffer.ResizeBuffer(s.DeviceBufferSize, ops_.messages);
  }
  std::string LoadPathText() const override { return load_path; }
  void SetLoadPathText(const std::string& text) override { load_path = text; }
  int64_t MainWindowHandle() const override { return 0x1234; }

  bool no_device = false;
  int device_sizings = 0;
  std::string load_path;

 private:
  OperationContext& ops_;
};

class LoadSaveFixture : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ops.Select(DeviceShape{});  // byte-wide, 32 KB
    ops.buffer.AttachDevice(&ops.device);
    ops.state.ProgramDir = dir_.string() + "/";
    ops.state.HistoryIniFile = Path("History_1.ini");
    ops.buffer.SetHistoryIniPath(Path("History_1.ini"));
  }

  IniFile History() const { return IniFile(Path("History_1.ini")); }
  std::string HistoryBytes() const { return ReadFile(Path("History_1.ini")); }
  std::string File(const std::string& name, const std::string& bytes) {
    WriteFile(dir_ / name, bytes);
    return Path(name);
  }
  std::vector<std::string> Texts() const { return messages.texts(); }

  OpsFixture ops;
  FakeMessages messages;
  OperationContext ctx{ops.state, ops.device, ops.reload, ops.buffer, ops.fuse_map, ops.link,
                       ops.view,  messages,   ops.sound,  ops.pump,   ops.progress, ops.busy,
                       ops.lock,  ops.record, nullptr,    {}};
  FakeLoadSaveHost host{ctx};
  LoadSaveSession session;
  LoadSaveDialogEnv env{ctx, host, session};
};

}  // namespace quenlet::testing
