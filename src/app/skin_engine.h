#pragma once
// The skin of the main window as logic: named pictures stacked in place,
// shown and hidden as the mouse moves over them, presses and releases. A
// skinned button is a stack of up to three pictures, the plain one on top,
// its highlighted twin "<name>_Hint" under it and its pressed twin
// "<name>_Down" at the bottom; what the operator sees is the topmost visible
// picture. The pictures' visibility lives in the StepView the engine is given
// (the program's StepPictures); the window only draws it.
#include <string>
#include <string_view>

#include "programmer/step_view.h"

namespace quenlet {

struct MainFormState;

class SkinEngine {
 public:
  // The window's background picture: never hidden, never shown again.
  static constexpr const char* kBackground = "Main";

  explicit SkinEngine(StepView& pictures) : pictures_(pictures) {}

  // Mode strings mean something only when they are "PAGE" (a page
  // background, never hidden) or "DOWN" (a press that acts even on the
  // current picture); every other string ("", "UP", file names) acts alike.
  void HoverImage(const std::string& picture, std::string_view mode);
  void ReleaseImage(const std::string& picture, std::string_view mode);
  void PressImage(const std::string& picture, std::string_view mode);
  // Page buttons (a plain button over its highlighted twin).
  void SetPressedImage(const std::string& button);
  void ShowHintImage(const std::string& button);

  // The picture the pointer last entered and the page button hidden to show
  // its twin; "" for none.
  const std::string& CurrentImage() const { return current_; }
  const std::string& HintImage() const { return hint_; }

  // Window drag by the background where the window system cannot move the
  // window itself: the press position in the window, then the window's new
  // top-left corner for a pointer at `screen`.
  struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
  };
  void PressBackground(Point in_window) { drag_origin_ = in_window; }
  Point DragOrigin() const { return drag_origin_; }
  Point WindowPositionFor(Point screen) const {
    return {screen.x - drag_origin_.x, screen.y - drag_origin_.y};
  }

 private:
  void Show(const std::string& picture) { pictures_.Show(picture); }
  void Hide(const std::string& picture) { pictures_.Hide(picture); }

  StepView& pictures_;
  std::string current_;
  std::string hint_;
  Point drag_origin_;
};

enum class SkinMouse { Move, Down, Up };

// The main window's skin handlers: runs what the handler table gives for the
// mouse event on the picture (hover, press or release of a skinned button,
// the Type/Load/Save/Edit steps' highlight on hover); pictures without a
// handler for the event are left alone. Hovering About or Exit, and the Type
// step, does nothing while the program is exiting.
void HandleSkinMouse(SkinEngine& skin, StepView& pictures, const MainFormState& state,
                     SkinMouse event, const std::string& picture);

}  // namespace quenlet
