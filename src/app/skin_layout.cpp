#include "app/skin_layout.h"

#include <iterator>

namespace quenlet {
namespace {

constexpr const char* kStepLabels[] = {"Type",  "Load",  "Save",    "Edit",   "Read",   "Confirm",
                                       "Erase", "Blank", "Program", "Verify", "Protect"};
static_assert(std::size(kStepLabels) == static_cast<size_t>(Step::Count));

}  // namespace

const char* StepLabel(Step step) {
  return kStepLabels[static_cast<int>(step)];
}

SkinStackLayout StepStack(Step step) {
  SkinStackLayout stack;
  stack.name = StepPictures::Name(step, Layer::n);
  stack.label = StepLabel(step);
  for (Layer layer : {Layer::n, Layer::h, Layer::w, Layer::p, Layer::f, Layer::o}) {
    stack.layers.push_back(StepPictures::Name(step, layer));
  }
  return stack;
}

}  // namespace quenlet
