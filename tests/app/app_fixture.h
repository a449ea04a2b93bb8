#pragma once
// The application object on a program folder of its own with the simulated
// unit, recording fakes for what the operator sees and hears, and a main
// window that only records what it is asked.
#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/ini_file.h"
#include "programmer/protocol.h"
#include "programmer/simulated_backend.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace quenlet::testing {

// The five step boxes, erase to protect, and their ticks.
inline constexpr RunBox kStepBoxes[] = {RunBox::CheckBox1, RunBox::CheckBox2, RunBox::CheckBox3,
                                        RunBox::CheckBox4, RunBox::CheckBox5};
inline std::array<bool, 5> StepTicks(const StepPictures& p) {
  std::array<bool, 5> t{};
  for (size_t i = 0; i < t.size(); ++i) t[i] = p.BoxTicked(kStepBoxes[i]);
  return t;
}

class RecordingShellWindow : public ShellWindow {
 public:
  void QueueClose() override { ++closes; }
  void SetSramButtonsEnabled(bool enabled) override { sram_buttons = enabled; }
  void SetInputEnabled(bool enabled) override { input.push_back(enabled); }
  int closes = 0;
  bool sram_buttons = false;
  std::vector<bool> input;
};

// A byte-wide device without protect: 128 KB, every other step.
inline constexpr const char* kByteDevice =
    "[VK_KZExternValue]\r\n"
    "Name=AM29F010\r\n"
    "Data_Width=0x00FF\r\n"
    "max_address_Hi=1\r\n"
    "max_address_Low=0xFFFF\r\n"
    "read_mode=0x0100\r\nerase_mode=1\r\nblank_mode=1\r\nprog_mode=1\r\nverify_mode=1\r\n"
    "prot_mode=0\r\n";

class AppTest : public TempDirTest {
 protected:
  void TearDown() override {
    app.reset();
    TempDirTest::TearDown();
  }

  // The program starts on the folder as the test has filled it.
  Application& Start() {
    auto simulated = std::make_unique<SimulatedBackend>();
    sim = simulated.get();
    BackendChoice choice;
    choice.simulated = sim;
    choice.backend = std::move(simulated);
    if (before_start) before_start(*sim);
    app = std::make_unique<Application>(dir_.string(), std::move(choice),
                                        AppServices{messages, sound, pump, progress});
    app->AttachWindow(&window);
    return *app;
  }
  // Start-up as the window runs it: created, then shown.
  Application& StartAndShow() {
    Start();
    app->WindowCreated(4242);
    app->RestoreLastSession();
    return *app;
  }

  IniFile History() const { return IniFile(Path("History_1.ini")); }
  // `relative` as the device files write it, with backslashes.
  void Write(std::string relative, const std::string& bytes) {
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::filesystem::create_directories((dir_ / relative).parent_path());
    WriteFile(dir_ / relative, bytes);
  }
  // History_1.ini naming the device of INI/<relative> as the last one chosen.
  void ChooseDevice(const std::string& relative, const std::string& process_mode = "0") {
    IniFile h = History();
    h.WriteString("SelectDlg", "Manufacturer", "AMD");
    h.WriteString("SelectDlg", "TypeNum", "AM29F010");
    h.WriteString("SelectDlg", "IcFileName", Path("") + relative);
    h.WriteString("SelectDlg", "ProcessMode", process_mode);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir_)) {
      if (e.is_regular_file()) names.push_back(e.path().lexically_relative(dir_).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> all = messages.texts();
    all.insert(all.end(), messages.errors.begin(), messages.errors.end());
    return all;
  }
  // The operation numbers of every request 0x49, in order.
  std::vector<int> Operations() const {
    std::vector<int> ops;
    for (const WireEntry& e : sim->unit().log().entries()) {
      if (e.kind == WireKind::Control && e.request == request::kRun) ops.push_back(e.index >> 8);
    }
    return ops;
  }
  // How many control requests `request` went out.
  int Requests(uint8_t request) const {
    int n = 0;
    for (const WireEntry& e : sim->unit().log().entries()) {
      n += e.kind == WireKind::Control && e.request == request;
    }
    return n;
  }
  int Beeps(uint32_t type) const {
    return static_cast<int>(std::count(sound.beeps.begin(), sound.beeps.end(), type));
  }
  int FailSounds() const { return Beeps(Sound::kStopBeep); }
  int PassSounds() const { return Beeps(Sound::kStandardBeep); }

  FakeMessages messages;
  FakeSound sound;
  FakeEventPump pump;
  FakeProgress progress;
  RecordingShellWindow window;
  SimulatedBackend* sim = nullptr;
  std::function<void(SimulatedBackend&)> before_start;
  std::unique_ptr<Application> app;
};

}  // namespace quenlet::testing
