#pragma once
// One widget per stack of skin pictures. It paints the stack's topmost
// visible picture (the visibility lives in StepPictures) and hands the mouse
// to the skin: a move or press goes to the picture on top, the release to
// the picture that took the press (it may have hidden itself meanwhile), and
// a release over the widget after a press on it is a click of that picture.
// Being a button, it has the accessible role of one and answers the press
// action like a click.
//
// Space, Enter and the press of assistive technology act as the mouse does
// in one go: onto the picture (the Type, Load and Save steps uncover their
// highlighted picture), the click, and away again, so that the stack keeps
// its plain look. The keyboard's focus ring stays while a window the click
// opened has the focus, and is there again when the focus comes back.
#include <QAbstractButton>
#include <functional>
#include <string>
#include <vector>

#include "app/skin_engine.h"

namespace quenlet {

class SkinPictures;
class StepPictures;

class SkinStack : public QAbstractButton {
  Q_OBJECT

 public:
  // `layers` top to bottom; `label` is the accessible name.
  SkinStack(std::vector<std::string> layers, const std::string& label, SkinPictures& pictures,
            const StepPictures& model, QWidget* parent);

  // The topmost visible picture, "" when none is.
  std::string TopLayer() const;
  const std::vector<std::string>& Layers() const { return layers_; }

  // A step's tile: its bottom picture (`_o`, the frame) alone, or none,
  // means that the device has no such step: the tile is disabled, drawn as
  // that picture, and says so to assistive technology. Its accessible
  // description names the state of the step: "ready", "working", "passed",
  // "failed" or "not available for this device".
  void MakeStepTile() { step_tile_ = true; }
  // Follows the model: drawn again, and a step tile's state and availability.
  void Refresh();

  // The skin's handlers for the mouse on one of the pictures.
  std::function<void(SkinMouse event, const std::string& picture)> on_mouse;
  // A click (mouse or accessibility) with the picture that took it.
  std::function<void(const std::string& picture)> on_click;
  // A double click with the picture on top.
  std::function<void(const std::string& picture)> on_double_click;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Mouse(SkinMouse event, const std::string& picture);

  std::vector<std::string> layers_;
  SkinPictures& pictures_;
  const StepPictures& model_;
  std::string pressed_;          // the picture that took the press, until the click is handed on
  bool keyboard_focus_ = false;  // the focus ring shows only for focus from the keyboard
  bool step_tile_ = false;
};

// A stack that is only looked at (the Pass, Wait and Fail indicators): the
// topmost visible picture, or an empty outline when none is shown. Its
// accessible name is "Result", its description the result shown ("Pass",
// "Wait", "Fail" or "No result"), for a screen reader or a test from outside.
class PictureStackView : public QWidget {
  Q_OBJECT

 public:
  PictureStackView(std::vector<std::string> layers, SkinPictures& pictures,
                   const StepPictures& model, QWidget* parent);
  std::string TopLayer() const;
  // Follows the model; called by the window after a change.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<std::string> layers_;
  SkinPictures& pictures_;
  const StepPictures& model_;
  std::string shown_;
};

}  // namespace quenlet
