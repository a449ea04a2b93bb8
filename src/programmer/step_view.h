#pragma once
// The step pictures of the Copy page as the device operations see them: each
// picture is shown or hidden by its name ("read_f", "Pass", "Wait", ...).
#include <string>

namespace quenlet {

class StepView {
 public:
  virtual ~StepView() = default;
  virtual void Show(const std::string& picture) = 0;
  virtual void Hide(const std::string& picture) = 0;
};

}  // namespace quenlet
