#pragma once
// The hardware window's routines on the simulated unit: a program directory
// with the sample library's self-test device and one user device, their
// support files, the real device loader, and one ordered record of what the
// operator sees and hears ("message <text>", "beep 16" for each StepFail,
// "sleep 50" for the pause inside a fail sound).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "device/ic_ini_loader.h"
#include "platform/program_paths.h"
#include "programmer/operation_context.h"
#include "programmer/ops_fixture.h"
#include "programmer/programmer_link_fixture.h"
#include "programmer/programmer_loader_link.h"
#include "support/temp_dir.h"

namespace quenlet::testing {

// Messages that run work while a box is open, as a modal box lets the
// queue run: a timer tick or a click arriving then.
class NestingMessages : public EventMessages {
 public:
  using EventMessages::EventMessages;
  void Show(const std::string& text) override {
    EventMessages::Show(text);
    RunInside();
  }
  MessageResult Box(const std::string& text, const std::string& caption, MessageButtons buttons,
                    MessageIcon icon) override {
    const MessageResult result = EventMessages::Box(text, caption, buttons, icon);
    RunInside();
    return result;
  }
  std::function<void()> inside;

 private:
  void RunInside() {
    if (!inside || nested_) return;
    nested_ = true;
    inside();
    nested_ = false;
  }
  bool nested_ = false;
};

// A pump whose waits go into the record too: the pause between beeps is
// what tells a fail sound from pass sounds.
class RecordedPump : public FakeEventPump {
 public:
  explicit RecordedPump(std::vector<std::string>& events) : events_(events) {}
  void Sleep(int milliseconds) override {
    FakeEventPump::Sleep(milliseconds);
    events_.push_back("sleep " + std::to_string(milliseconds));
  }

 private:
  std::vector<std::string>& events_;
};

inline const std::string kLibrarySource = QUENLET_LIBRARY "/";
// The user's device as the device dialog leaves it.
inline const char* const kUserDevice = "INI\\QD27-256.ini";

class HardwareFixture {
 public:
  HardwareFixture() {
    state.ProgramDir = dir.path();
    state.HistoryIniFile = dir.path() + "History_1.ini";
    state.NotConnectedText = "not connected";
    state.SoundOn = 1;
    for (const char* file : {"INI/VARNEK/HARDTEST.INI", "INI/QD27-256.ini"}) {
      const std::string text = ReadFile(kLibrarySource + file);
      dir.Write(file, {text.begin(), text.end()});
    }
    for (const char* file : {"FPGA/QDMEM.BIT", "FPGA/QDMEM.DRV", "FPGA/SCAN.BIT", "FPGA/SCAN.DRV",
                             "QDMEM.DRV", "39F0x0.drv"}) {
      dir.Write(file, Pattern(2048, 0x21));
    }
    sim.FollowDevice(&device, &state);
    device.SelectedIcIniPath = dir.path() + kUserDevice;
    EXPECT_TRUE(reload.Reload());
    EXPECT_EQ(device.Name, "QD27-256");
  }
  ~HardwareFixture() { EXPECT_THAT(sim.unit().violations(), ::testing::IsEmpty()); }
  HardwareFixture(const HardwareFixture&) = delete;
  HardwareFixture& operator=(const HardwareFixture&) = delete;

  SimulatedUnit& unit() { return sim.unit(); }
  std::string UserPath() const { return dir.path() + kUserDevice; }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& e : events) {
      if (e.rfind("message ", 0) == 0) out.push_back(e.substr(8));
    }
    return out;
  }
  int StepFails() const {
    int n = 0;
    for (const auto& e : events) n += e == "beep 16";
    return n;
  }
  // The unit's log from now on only; the record of what was seen, too.
  void ClearRecords() {
    unit().log().Clear();
    events.clear();
  }

  TempProgramDir dir;
  SimulatedBackend sim;
  Transport transport{sim};
  MainFormState state;
  SelectedDevice device;
  std::vector<std::string> events;
  NestingMessages messages{events};
  EventSound sound{events};
  RecordedPump pump{events};
  FakeProgress progress;
  StepPictures view;
  StepFailIndicator step_fail{view, state, sound, pump};
  QuietWindow window;
  ProgrammerLink link{transport, state, device, messages, step_fail, view, window};
  ProgramPaths paths{dir.path()};
  ProgrammerLoaderLink loader_link{link};
  IcIniLoader loader{device, state, paths, loader_link, messages};
  IcIniReload reload{loader};
  DataBuffer buffer;
  FuseMap fuse_map;
  StepBusyFlags busy;
  OperationLock lock;
  OperationRecord record;
  OperationContext ctx{state, device, reload,   buffer, fuse_map, link,   view,    messages,
                       sound, pump,   progress, busy,   lock,     record, nullptr, {}};
};

}  // namespace quenlet::testing
