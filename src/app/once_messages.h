#pragma once
// The program's messages, passed on to the windows' message boxes. While a
// "once" span is open (the restore at start-up loads the device twice, and
// each load would say "Please Open your USB" again) a plain message or error
// already shown in the span is not shown a second time. Questions always go
// through.
#include <set>
#include <string>

#include "platform/user_interfaces.h"

namespace quenlet {

class OnceMessages : public Messages {
 public:
  explicit OnceMessages(Messages& target) : target_(target) {}

  void BeginOnce() {
    once_ = true;
    shown_.clear();
  }
  void EndOnce() {
    once_ = false;
    shown_.clear();
  }

  void Show(const std::string& text) override {
    if (First(text)) target_.Show(text);
  }
  MessageResult Box(const std::string& text, const std::string& caption, MessageButtons buttons,
                    MessageIcon icon) override {
    return target_.Box(text, caption, buttons, icon);
  }
  void ShowError(const std::string& text) override {
    if (First(text)) target_.ShowError(text);
  }

 private:
  bool First(const std::string& text) { return !once_ || shown_.insert(text).second; }

  Messages& target_;
  bool once_ = false;
  std::set<std::string> shown_;
};

}  // namespace quenlet
