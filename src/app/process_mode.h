#pragma once
// The step list stored as History_1.ini [SelectDlg] ProcessMode: "+E" erase,
// "+C" blank check, "+P" program, "+V" verify, "+S" protect and "+T" the
// hidden box, in that order, for each ticked box; "" when none is ticked.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "programmer/step_pictures.h"

namespace quenlet {

// The five step boxes, erase to protect: the order of the ticks below.
inline constexpr RunBox kStepBoxes[] = {RunBox::CheckBox1, RunBox::CheckBox2, RunBox::CheckBox3,
                                        RunBox::CheckBox4, RunBox::CheckBox5};

// Ticks of the run boxes in ProcessMode order: erase, blank check, program,
// verify, protect, hidden box.
using ProcessTicks = std::array<bool, 6>;

std::string FormatProcessMode(const ProcessTicks& ticks);

// The step boxes whose letter (E, C, P, V, S, upper case) `text` holds
// anywhere; any other character is ignored.
std::array<bool, 5> StepTicksOfLetters(std::string_view text);

// The five step boxes (erase to protect) a stored list ticks. Only its first
// 15 characters count; letters other than E, C, P, V, S ("+", "T", ...) are
// ignored. A list of one character or none (the default "0", or the "" of
// an exit with nothing ticked) names no ticks: the boxes keep theirs.
std::optional<std::array<bool, 5>> StepTicksFromProcessMode(std::string_view stored);

}  // namespace quenlet
