#pragma once
// A programmer link on the simulated unit, with one ordered record of what
// the operator would see: messages, StepFail, step pictures, window calls.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "device/selected_device.h"
#include "programmer/programmer_link.h"
#include "programmer/simulated_backend.h"
#include "programmer/transport.h"
#include "state/main_form_state.h"

namespace quenlet::testing {

class RecordingMessages : public Messages {
 public:
  explicit RecordingMessages(std::vector<std::string>& events) : events_(events) {}
  void Show(const std::string& text) override { events_.push_back("message " + text); }
  MessageResult Box(const std::string& text, const std::string&, MessageButtons,
                    MessageIcon) override {
    events_.push_back("message " + text);
    return MessageResult::Ok;
  }
  void ShowError(const std::string& text) override { events_.push_back("error " + text); }

 private:
  std::vector<std::string>& events_;
};

class RecordingStepFail : public StepFailSink {
 public:
  explicit RecordingStepFail(std::vector<std::string>& events) : events_(events) {}
  void StepFail() override { events_.push_back("StepFail"); }

 private:
  std::vector<std::string>& events_;
};

class RecordingSteps : public StepView {
 public:
  explicit RecordingSteps(std::vector<std::string>& events) : events_(events) {}
  void Show(const std::string& picture) override { events_.push_back("show " + picture); }
  void Hide(const std::string& picture) override { events_.push_back("hide " + picture); }

 private:
  std::vector<std::string>& events_;
};

class RecordingWindow : public MainWindowControl {
 public:
  explicit RecordingWindow(std::vector<std::string>& events) : events_(events) {}
  void Close() override { events_.push_back("close window"); }
  void SetSramButtonsEnabled(bool enabled) override {
    events_.push_back(enabled ? "sram buttons on" : "sram buttons off");
  }

 private:
  std::vector<std::string>& events_;
};

// A program directory of its own below the temporary directory, removed at
// the end of the test.
class TempProgramDir {
 public:
  TempProgramDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenlet-usb-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
  }
  ~TempProgramDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempProgramDir(const TempProgramDir&) = delete;
  TempProgramDir& operator=(const TempProgramDir&) = delete;

  // With the trailing '/' that MainFormState::ProgramDir carries.
  std::string path() const { return root_.string() + "/"; }
  void Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    std::filesystem::path file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::filesystem::path root_;
};

// Bytes that show where they came from: (seed + i * 7) mod 256.
inline std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

struct LinkFixture {
  LinkFixture() { state.ProgramDir = dir.path(); }

  SimulatedUnit& unit() { return backend.unit(); }
  // Only the messages and error displays, in order.
  std::vector<std::string> Shown() const {
    std::vector<std::string> out;
    for (const auto& e : events) {
      if (e.rfind("message ", 0) == 0 || e.rfind("error ", 0) == 0) out.push_back(e);
    }
    return out;
  }
  int Count(const std::string& event) const {
    int n = 0;
    for (const auto& e : events) n += e == event ? 1 : 0;
    return n;
  }

  TempProgramDir dir;
  SimulatedBackend backend;
  Transport transport{backend};
  MainFormState state;
  SelectedDevice device;
  std::vector<std::string> events;
  RecordingMessages messages{events};
  RecordingStepFail step_fail{events};
  RecordingSteps steps{events};
  RecordingWindow window{events};
  ProgrammerLink link{transport, state, device, messages, step_fail, steps, window};
};

}  // namespace quenlet::testing
