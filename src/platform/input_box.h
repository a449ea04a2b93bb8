#pragma once
// The framework's one-line input box: a caption, a prompt and a default
// text; Cancel hands back the default text.
#include <string>

namespace quenlet {

class InputBox {
 public:
  virtual ~InputBox() = default;
  virtual std::string Ask(const std::string& caption, const std::string& prompt,
                          const std::string& default_text) = 0;
};

}  // namespace quenlet
