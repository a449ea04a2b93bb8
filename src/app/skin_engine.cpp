#include "app/skin_engine.h"

#include <algorithm>
#include <iterator>

#include "state/main_form_state.h"

namespace quenlet {
namespace {

constexpr std::string_view kPage = "PAGE";
constexpr std::string_view kDown = "DOWN";

template <size_t N>
bool In(std::string_view name, const std::string_view (&names)[N]) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// "CheckSum_Down" -> "CheckSum"
std::string PlainOf(const std::string& picture) {
  const size_t bar = picture.rfind('_');
  return bar == std::string::npos ? picture : picture.substr(0, bar);
}

// Buttons whose plain picture hovers itself, and whose _Hint twin is pressed
// with "DOWN" and released with "UP".
constexpr std::string_view kHoverSelf[] = {"Edit",    "Save", "Multi", "Exit",
                                           "AutoRun", "Stop", "Run",   "v"};
constexpr std::string_view kHintPressed[] = {
    "Edit_Hint", "Save_Hint",     "Setup_Hint",  "Multi_Hint",    "Help_Hint",
    "Exit_Hint", "CheckSum_Hint", "Find_Hint",   "FindNext_Hint", "Block_Hint",
    "Fill_Hint", "v_Hint",        "AutoRun_Hint"};
// Edit-page commands: both the plain and the pressed picture hover the plain one.
constexpr std::string_view kCommands[] = {"CheckSum", "Find", "FindNext", "Block", "Fill"};
constexpr std::string_view kPageBackgrounds[] = {"Main",         "Copy_Page",    "Edit_Page",
                                                 "Project_Page", "Utility_Page", "Create_Page"};
// Steps whose normal picture gives way to the highlighted one under the pointer.
constexpr std::string_view kHoverSteps[] = {"type_n", "load_n", "save_n", "edit_n"};

bool IsCommandDown(const std::string& picture) {
  return picture.size() > 5 && picture.compare(picture.size() - 5, 5, "_Down") == 0 &&
         In(PlainOf(picture), kCommands);
}

void Move(SkinEngine& skin, StepView& pictures, const MainFormState& state,
          const std::string& picture) {
  const bool exiting = state.ExitInProgress == 1;
  if (In(picture, kHoverSelf)) {
    if (exiting && picture == "Exit") return;
    skin.HoverImage(picture, "");
  } else if (picture == "Help") {
    if (!exiting) skin.HoverImage(picture, "Help_Hint.bmp");
  } else if (In(picture, kCommands) || IsCommandDown(picture)) {
    skin.HoverImage(PlainOf(picture), "");
  } else if (picture == "EditOk_Image" || picture == "EditCancel_Image") {
    skin.HoverImage(picture, picture == "EditOk_Image" ? "EditOk_Hint.bmp" : "EditCancel_Hint.bmp");
  } else if (In(picture, kPageBackgrounds)) {
    skin.HoverImage(picture, kPage);
  } else if (In(picture, kHoverSteps)) {
    if (exiting && picture == "type_n") return;
    pictures.Show(PlainOf(picture) + "_h");
    skin.HoverImage(picture, "");
  }
}

void Down(SkinEngine& skin, const std::string& picture) {
  if (In(picture, kHintPressed)) {
    skin.PressImage(picture, kDown);
  } else if (IsCommandDown(picture)) {
    skin.HoverImage(PlainOf(picture), kDown);
  } else if (picture == "EditOk_Image" || picture == "EditCancel_Image") {
    skin.HoverImage(picture,
                    picture == "EditOk_Image" ? "EditOk_Click.bmp" : "EditCancel_Click.bmp");
  }
}

void Up(SkinEngine& skin, const std::string& picture) {
  if (picture == "Help_Hint") {
    skin.ReleaseImage(picture, "Help_Hint.bmp");
  } else if (In(picture, kHintPressed)) {
    skin.ReleaseImage(picture, "UP");
  } else if (IsCommandDown(picture)) {
    skin.HoverImage(PlainOf(picture), "UP");
  }
}

}  // namespace

void SkinEngine::HoverImage(const std::string& picture, std::string_view mode) {
  if (current_.empty()) {
    if (mode != kPage) Hide(picture);
    current_ = picture;
    return;
  }
  if (!hint_.empty()) {
    Show(hint_);
    hint_.clear();
  }
  if (picture == current_ && mode != kDown) return;
  if (mode != kPage) Hide(picture);
  if (picture != current_ && current_ != kBackground) Show(current_);
  current_ = picture;
}

void SkinEngine::ReleaseImage(const std::string& picture, std::string_view mode) {
  if (current_.empty()) {
    if (mode != kPage) Show(picture);
    current_ = picture;
    return;
  }
  if (!hint_.empty()) Show(hint_);
  if (picture == current_ && mode != kDown) return;
  if (mode != kPage) {
    Show(picture);
    if (picture != current_ && current_ != kBackground) Show(current_);
  }
  current_ = picture;
}

void SkinEngine::PressImage(const std::string& picture, std::string_view mode) {
  if (mode != kPage) Hide(picture);
}

void SkinEngine::SetPressedImage(const std::string& button) {
  hint_ = button;
}

void SkinEngine::ShowHintImage(const std::string& button) {
  if (hint_.empty()) {
    Hide(button);
    hint_ = button;
    return;
  }
  if (hint_ == button) return;
  Hide(button);
  if (!current_.empty()) {
    Show(current_);
    current_.clear();
  }
  Show(hint_);
  hint_ = button;
}

void HandleSkinMouse(SkinEngine& skin, StepView& pictures, const MainFormState& state,
                     SkinMouse event, const std::string& picture) {
  switch (event) {
    case SkinMouse::Move:
      Move(skin, pictures, state, picture);
      break;
    case SkinMouse::Down:
      Down(skin, picture);
      break;
    case SkinMouse::Up:
      Up(skin, picture);
      break;
  }
}

}  // namespace quenlet
