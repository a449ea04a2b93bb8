#pragma once
// What the Copy page shows while device operations run, as plain data the
// window draws: per step six stacked pictures, the Pass / Wait / Fail
// indicators, the run check boxes and buttons, the checksum field and the
// progress bar. The operations change it; the window redraws on each change.
//
// A step's pictures stack `_o`, `_f`, `_p`, `_w`, `_h`, `_n` from bottom to
// top: the topmost visible one is what the operator sees, so a step showing
// both `_p` and `_f` looks passed.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "programmer/step_view.h"

namespace quenlet {

// The step rows of the Copy page.
enum class Step : int {
  Type = 0,
  Load,
  Save,
  Edit,
  Read,
  Confirm,
  Erase,
  Blank,
  Program,
  Verify,
  Protect,
  Count
};

// The pictures of one step, bottom to top.
enum class Layer : int {
  o = 0,  // bottom picture
  f,      // failed
  p,      // passed
  w,      // working
  h,      // highlighted
  n,      // normal
  Count
};

enum class Indicator : int { Pass = 0, Wait, Fail, Multi, Multi_Hint, Count };

// Controls that operations enable and disable.
enum class Control : int {
  CopyEraseBtn = 0,
  CopyCheckBtn,
  CopyProgramBtn,
  CopyVerifyBtn,
  CopySecurityBtn,
  CopyConfirmBtn,
  CopyReadBtn,
  Panel5,
  Panel7,
  Panel8,
  Panel9,
  Run_Hint,
  Stop_Hint,
  AutoRun_Hint,
  AutoRun,
  Stop,
  Run,
  StopPanel,
  RunPanel,
  Count
};

// The run check boxes: erase, blank check, program, verify, protect, the
// read step's automatic confirm, and the hidden box whose tick the step list
// stores as "+T".
enum class RunBox : int {
  CheckBox1 = 0,
  CheckBox2,
  CheckBox3,
  CheckBox4,
  CheckBox5,
  check_confirm,
  CheckBox11,
  Count
};

enum class SumColour { WindowText, Red };

// The main window's page: the device steps (Copy) or the buffer editor (Edit).
enum class CopyPage { Unknown, Copy, Edit };

class StepPictures : public StepView {
 public:
  // Picture names as the window knows them: "prog_w", "Pass", ...
  static std::string Name(Step step, Layer layer);
  static const char* Name(Indicator indicator);
  static const char* Prefix(Step step);

  void Show(Step step, Layer layer) { Set(step, layer, true); }
  void Hide(Step step, Layer layer) { Set(step, layer, false); }
  void Set(Step step, Layer layer, bool visible);
  bool Visible(Step step, Layer layer) const;
  // The topmost visible picture of the step; none when all are hidden.
  std::optional<Layer> Top(Step step) const;

  void Show(Indicator indicator) { Set(indicator, true); }
  void Hide(Indicator indicator) { Set(indicator, false); }
  void Set(Indicator indicator, bool visible);
  bool Visible(Indicator indicator) const;

  // StepView: by name. Names this model does not know are kept as they come.
  void Show(const std::string& picture) override { SetByName(picture, true); }
  void Hide(const std::string& picture) override { SetByName(picture, false); }
  bool VisibleByName(const std::string& picture) const;

  void Enable(Control control, bool enabled);
  bool Enabled(Control control) const;

  void EnableBox(RunBox box, bool enabled);
  void TickBox(RunBox box, bool checked);
  bool BoxEnabled(RunBox box) const;
  bool BoxTicked(RunBox box) const;

  // SumEdit: the checksum field of the Copy page.
  void SetSum(const std::string& text);
  void SetSumColour(SumColour colour);
  const std::string& SumText() const { return sum_text_; }
  SumColour SumTextColour() const { return sum_colour_; }

  // ProgressBar2.
  void SetProgressMax(int32_t max);
  void SetProgressPosition(int32_t position);
  int32_t ProgressMax() const { return progress_max_; }
  int32_t ProgressPosition() const { return progress_position_; }

  void ShowCopyPage();
  void ShowEditPage();
  CopyPage Page() const { return page_; }

  // Called after every change.
  void SetChangeHandler(std::function<void()> handler) { change_handler_ = std::move(handler); }

 private:
  void SetByName(const std::string& picture, bool visible);
  void Changed() const {
    if (change_handler_) change_handler_();
  }

  static constexpr int kSteps = static_cast<int>(Step::Count);
  static constexpr int kLayers = static_cast<int>(Layer::Count);
  std::array<std::array<bool, kLayers>, kSteps> pictures_{};
  std::array<bool, static_cast<int>(Indicator::Count)> indicators_{};
  std::array<bool, static_cast<int>(Control::Count)> enabled_ = [] {
    std::array<bool, static_cast<int>(Control::Count)> a{};
    a.fill(true);
    return a;
  }();
  std::array<bool, static_cast<int>(RunBox::Count)> box_enabled_ = [] {
    std::array<bool, static_cast<int>(RunBox::Count)> a{};
    a.fill(true);
    return a;
  }();
  std::array<bool, static_cast<int>(RunBox::Count)> box_ticked_{};
  std::map<std::string, bool> other_pictures_;
  std::string sum_text_;
  SumColour sum_colour_ = SumColour::WindowText;
  int32_t progress_max_ = 100;
  int32_t progress_position_ = 0;
  CopyPage page_ = CopyPage::Unknown;
  std::function<void()> change_handler_;
};

}  // namespace quenlet
