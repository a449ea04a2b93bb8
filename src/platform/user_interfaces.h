#pragma once
// What the operator sees and hears, as small interfaces: the windows pass Qt
// implementations, tests pass the recording fakes of tests/support.
#include <cstdint>
#include <string>

namespace quenlet {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Stop, Question };
enum class MessageResult { Ok, Cancel, Yes, No };

// Modal message boxes.
class Messages {
 public:
  virtual ~Messages() = default;
  // The plain message box (application title as caption, one OK button).
  virtual void Show(const std::string& text) = 0;
  virtual MessageResult Box(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) = 0;
  // The error display for a failure raised inside a handler.
  virtual void ShowError(const std::string& text) { Show(text); }

  bool AskYesNo(const std::string& text, const std::string& caption) {
    return Box(text, caption, MessageButtons::YesNo, MessageIcon::Question) == MessageResult::Yes;
  }
};

// Message beeps, by the platform's beep types.
class Sound {
 public:
  static constexpr uint32_t kStandardBeep = 0x00;  // MB_OK
  static constexpr uint32_t kStopBeep = 0x10;      // MB_ICONHAND
  virtual ~Sound() = default;
  // True when the sound system took the sound. A machine without any audio
  // device falls back to the system bell and counts as success.
  virtual bool Beep(uint32_t type) = 0;
};

// The GUI thread's queue: long work lets it run once so the windows repaint
// and buttons (Stop among them) are seen. Sleep waits on the GUI thread.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void PumpOnce() = 0;
  virtual void Sleep(int milliseconds) = 0;
};

// The progress window as long loops drive it: set caption and Max, show,
// SetPosition(0), StepIt per hundredth of the work, Complete, Close.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetMax(int max) = 0;
  virtual void Show() = 0;
  virtual void SetPosition(int position) = 0;
  // position := min(position + 1, Max - 1)
  virtual void StepIt() = 0;
  // position := Max; the full bar stays seen a moment while the caller goes on
  virtual void Complete() = 0;
  virtual void Close() = 0;
};

// For work done without a window.
class NullProgress : public Progress {
 public:
  void SetCaption(const std::string&) override {}
  void SetMax(int) override {}
  void Show() override {}
  void SetPosition(int) override {}
  void StepIt() override {}
  void Complete() override {}
  void Close() override {}
};

}  // namespace quenlet
