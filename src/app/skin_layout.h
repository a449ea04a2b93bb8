#pragma once
// The skinned buttons of the main window: each stack's pictures, top to
// bottom, and the label a person reads on it (also its accessible name).
// The window places them; the application object starts them all visible.
#include <array>
#include <string>
#include <vector>

#include "programmer/step_pictures.h"

namespace quenlet {

struct SkinStackLayout {
  std::string name;                 // the stack: its plain (top) picture
  std::string label;                // what the operator reads on it
  std::vector<std::string> layers;  // top to bottom
};

// Toolbar: Parameters, Options, About, Exit.
inline const std::array<SkinStackLayout, 4>& ToolbarStacks() {
  static const std::array<SkinStackLayout, 4> stacks = {{
      {"Multi", "Parameters", {"Multi", "Multi_Hint", "Multi_Down"}},
      {"Setup", "Options", {"Setup", "Setup_Hint", "Setup_Down"}},
      {"Help", "About", {"Help", "Help_Hint", "Help_Down"}},
      {"Exit", "Exit", {"Exit", "Exit_Hint", "Exit_Down"}},
  }};
  return stacks;
}

// Copy page: the run controls and the checksum button.
inline const std::array<SkinStackLayout, 4>& RunStacks() {
  static const std::array<SkinStackLayout, 4> stacks = {{
      {"Run", "Run", {"Run", "Run_Hint", "Run_Down"}},
      {"AutoRun", "AutoRun", {"AutoRun", "AutoRun_Hint", "AutoRun_Down"}},
      {"Stop", "Stop", {"Stop", "Stop_Hint", "Stop_Down"}},
      {"v", "Checksum", {"v", "v_Hint", "v_Down"}},
  }};
  return stacks;
}

// Edit page: Sum, Block, Fill and Ok.
inline const std::array<SkinStackLayout, 4>& EditCommandStacks() {
  static const std::array<SkinStackLayout, 4> stacks = {{
      {"CheckSum", "Sum", {"CheckSum", "CheckSum_Hint", "CheckSum_Down"}},
      {"Block", "Block", {"Block", "Block_Hint", "Block_Down"}},
      {"Fill", "Fill", {"Fill", "Fill_Hint", "Fill_Down"}},
      {"EditOk_Image", "Ok", {"EditOk_Image", "EditOk_Hint", "EditOk_Click"}},
  }};
  return stacks;
}

// A step's stack: `_n`, `_h`, `_w`, `_p`, `_f`, `_o`, top to bottom.
SkinStackLayout StepStack(Step step);

// What a person reads on a step picture: "Erase", "Blank", ...
const char* StepLabel(Step step);

// The Pass, Wait and Fail indicators share one place, Pass on top and Fail at
// the bottom: a pass shows Pass over Wait, a stop shows Fail.
inline const std::vector<std::string>& ResultLayers() {
  static const std::vector<std::string> layers = {"Pass", "Wait", "Fail"};
  return layers;
}

}  // namespace quenlet
