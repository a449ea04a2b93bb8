#include "app/process_mode.h"

namespace quenlet {
namespace {

constexpr char kLetters[] = {'E', 'C', 'P', 'V', 'S', 'T'};
constexpr size_t kExamined = 15;

}  // namespace

std::string FormatProcessMode(const ProcessTicks& ticks) {
  std::string text;
  for (size_t i = 0; i < ticks.size(); ++i) {
    if (ticks[i]) {
      text += '+';
      text += kLetters[i];
    }
  }
  return text;
}

std::array<bool, 5> StepTicksOfLetters(std::string_view text) {
  std::array<bool, 5> ticks{};
  for (size_t i = 0; i < ticks.size(); ++i) {
    ticks[i] = text.find(kLetters[i]) != std::string_view::npos;
  }
  return ticks;
}

std::optional<std::array<bool, 5>> StepTicksFromProcessMode(std::string_view stored) {
  if (stored.size() <= 1) return std::nullopt;
  return StepTicksOfLetters(stored.substr(0, kExamined));
}

}  // namespace quenlet
