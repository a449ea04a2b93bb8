#pragma once
// Recording fakes of the user-facing interfaces.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_chooser.h"
#include "platform/user_interfaces.h"

namespace quenlet::testing {

struct RecordedBox {
  std::string text;
  std::string caption;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  bool plain = false;  // Show() rather than Box()
};

class FakeMessages : public Messages {
 public:
  void Show(const std::string& text) override {
    boxes.push_back({text, "", MessageButtons::Ok, MessageIcon::None, true});
    if (on_box) {
      const RecordedBox box = boxes.back();
      on_box(box);
    }
  }
  MessageResult Box(const std::string& text, const std::string& caption, MessageButtons buttons,
                    MessageIcon icon) override {
    boxes.push_back({text, caption, buttons, icon, false});
    // While the box is open: a click, a second question, ...
    if (on_box) {
      const RecordedBox box = boxes.back();  // the hook may add boxes of its own
      on_box(box);
    }
    if (!answers.empty()) {
      MessageResult r = answers.front();
      answers.pop_front();
      return r;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
               ? MessageResult::Yes
               : MessageResult::Ok;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& b : boxes) out.push_back(b.text);
    return out;
  }

  std::vector<RecordedBox> boxes;
  std::vector<std::string> errors;
  std::deque<MessageResult> answers;  // answers to the next Box() calls
  // Runs while a box (plain or not) is open: a click, a second question, ...
  std::function<void(const RecordedBox&)> on_box;
};

class FakeSound : public Sound {
 public:
  bool Beep(uint32_t type) override {
    beeps.push_back(type);
    return takes_sound;
  }
  std::vector<uint32_t> beeps;
  bool takes_sound = true;  // false: the sound system refuses every beep
};

class FakeEventPump : public EventPump {
 public:
  void PumpOnce() override {
    ++pumps;
    if (on_pump) on_pump(pumps);
  }
  void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
  int pumps = 0;
  std::vector<int> sleeps;
  // Runs inside PumpOnce: press Stop, start a second operation, ...
  std::function<void(int pump_number)> on_pump;
};

class FakeProgress : public Progress {
 public:
  void SetCaption(const std::string& c) override {
    caption = c;
    calls.push_back("caption:" + c);
  }
  void SetMax(int m) override {
    max = m;
    calls.push_back("max:" + std::to_string(m));
  }
  void Show() override {
    shown = true;
    calls.push_back("show");
  }
  void SetPosition(int p) override {
    position = p;
    calls.push_back("position:" + std::to_string(p));
  }
  void StepIt() override {
    ++steps;
    position = position + 1 < max - 1 ? position + 1 : max - 1;
  }
  void Complete() override {
    position = max;
    ++completes;
    calls.push_back("complete");
  }
  void Close() override {
    shown = false;
    calls.push_back("close");
  }

  std::string caption;
  int max = 100;
  int position = 0;
  int steps = 0;
  int completes = 0;
  bool shown = false;
  std::vector<std::string> calls;  // every call but StepIt, in order
};

// Answers file dialogs from a queue ("" = cancelled) and records the requests.
class FakeFileChooser : public FileChooser {
 public:
  std::string ChooseOpen(const FileDialogRequest& request) override { return Answer(request); }
  std::string ChooseSave(const FileDialogRequest& request) override { return Answer(request); }
  std::vector<FileDialogRequest> requests;
  std::deque<std::string> answers;

 private:
  std::string Answer(const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return "";
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace quenlet::testing
