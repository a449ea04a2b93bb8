#pragma once
// The step list stored as History_1.ini [SelectDlg] ProcessMode: "+E" erase,
// "+C" blank check, "+P" program, "+V" verify, "+S" protect and "+T" the
// hidden box, in that order, for each ticked box; "" when none is ticked.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quenlet {

// Ticks of the run boxes in ProcessMode order: erase, blank check, program,
// verify, protect, hidden box.
using ProcessTicks = std::array<bool, 6>;

std::string FormatProcessMode(const ProcessTicks& ticks);

// The five step boxes (erase to protect) a stored list ticks. Only its first
// 15 characters count; letters other than E, C, P, V, S ("+", "T", ...) are
// ignored. A list of one character or none (the default "0", or the "" of
// an exit with nothing ticked) names no ticks: the boxes keep theirs.
std::optional<std::array<bool, 5>> StepTicksFromProcessMode(std::string_view stored);

}  // namespace quenlet
