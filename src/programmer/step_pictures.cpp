#include "programmer/step_pictures.h"

#include <iterator>

namespace quenlet {
namespace {

constexpr const char* kPrefixes[] = {"type_",  "load_",  "save_", "edit_",   "read_", "confirm_",
                                     "erace_", "check_", "prog_", "verify_", "secur_"};
constexpr const char* kSuffixes[] = {"o", "f", "p", "w", "h", "n"};
constexpr const char* kIndicators[] = {"Pass", "Wait", "Fail", "Multi", "Multi_Hint"};

static_assert(std::size(kPrefixes) == static_cast<size_t>(Step::Count));
static_assert(std::size(kSuffixes) == static_cast<size_t>(Layer::Count));
static_assert(std::size(kIndicators) == static_cast<size_t>(Indicator::Count));

int Index(auto e) {
  return static_cast<int>(e);
}

}  // namespace

const char* StepPictures::Prefix(Step step) {
  return kPrefixes[Index(step)];
}

std::string StepPictures::Name(Step step, Layer layer) {
  return std::string(kPrefixes[Index(step)]) + kSuffixes[Index(layer)];
}

const char* StepPictures::Name(Indicator indicator) {
  return kIndicators[Index(indicator)];
}

void StepPictures::Set(Step step, Layer layer, bool visible) {
  bool& slot = pictures_[Index(step)][Index(layer)];
  if (slot == visible) return;
  slot = visible;
  Changed();
}

bool StepPictures::Visible(Step step, Layer layer) const {
  return pictures_[Index(step)][Index(layer)];
}

std::optional<Layer> StepPictures::Top(Step step) const {
  for (int layer = kLayers - 1; layer >= 0; --layer) {
    if (pictures_[Index(step)][layer]) return static_cast<Layer>(layer);
  }
  return std::nullopt;
}

void StepPictures::Set(Indicator indicator, bool visible) {
  bool& slot = indicators_[Index(indicator)];
  if (slot == visible) return;
  slot = visible;
  Changed();
}

bool StepPictures::Visible(Indicator indicator) const {
  return indicators_[Index(indicator)];
}

void StepPictures::SetByName(const std::string& picture, bool visible) {
  for (int i = 0; i < Index(Indicator::Count); ++i) {
    if (picture == kIndicators[i]) return Set(static_cast<Indicator>(i), visible);
  }
  for (int s = 0; s < kSteps; ++s) {
    const std::string prefix = kPrefixes[s];
    if (picture.size() != prefix.size() + 1 || picture.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    for (int l = 0; l < kLayers; ++l) {
      if (picture.back() == kSuffixes[l][0]) {
        return Set(static_cast<Step>(s), static_cast<Layer>(l), visible);
      }
    }
  }
  auto [it, inserted] = other_pictures_.try_emplace(picture, visible);
  if (!inserted && it->second == visible) return;
  it->second = visible;
  Changed();
}

bool StepPictures::VisibleByName(const std::string& picture) const {
  for (int i = 0; i < Index(Indicator::Count); ++i) {
    if (picture == kIndicators[i]) return indicators_[i];
  }
  for (int s = 0; s < kSteps; ++s) {
    for (int l = 0; l < kLayers; ++l) {
      if (picture == Name(static_cast<Step>(s), static_cast<Layer>(l))) return pictures_[s][l];
    }
  }
  auto it = other_pictures_.find(picture);
  return it != other_pictures_.end() && it->second;
}

void StepPictures::Enable(Control control, bool enabled) {
  bool& slot = enabled_[Index(control)];
  if (slot == enabled) return;
  slot = enabled;
  Changed();
}

bool StepPictures::Enabled(Control control) const {
  return enabled_[Index(control)];
}

void StepPictures::EnableBox(RunBox box, bool enabled) {
  bool& slot = box_enabled_[Index(box)];
  if (slot == enabled) return;
  slot = enabled;
  Changed();
}

void StepPictures::TickBox(RunBox box, bool checked) {
  bool& slot = box_ticked_[Index(box)];
  if (slot == checked) return;
  slot = checked;
  Changed();
}

bool StepPictures::BoxEnabled(RunBox box) const {
  return box_enabled_[Index(box)];
}
bool StepPictures::BoxTicked(RunBox box) const {
  return box_ticked_[Index(box)];
}

void StepPictures::SetSum(const std::string& text) {
  if (sum_text_ == text) return;
  sum_text_ = text;
  Changed();
}

void StepPictures::SetSumColour(SumColour colour) {
  if (sum_colour_ == colour) return;
  sum_colour_ = colour;
  Changed();
}

void StepPictures::SetProgressMax(int32_t max) {
  if (progress_max_ == max) return;
  progress_max_ = max;
  Changed();
}

void StepPictures::SetProgressPosition(int32_t position) {
  if (progress_position_ == position) return;
  progress_position_ = position;
  Changed();
}

void StepPictures::ShowCopyPage() {
  page_ = CopyPage::Copy;
  Changed();
}

void StepPictures::ShowEditPage() {
  page_ = CopyPage::Edit;
  Changed();
}

}  // namespace quenlet
