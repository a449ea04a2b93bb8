#pragma once
// The progress window: a small captioned dialog with one bar that the long
// loops over the data buffer move (placements, fills, sums, file reads and
// writes). The loops run on the GUI thread, so the bar repaints only where a
// loop lets the queue run; Complete paints the full bar itself and keeps it
// shown a moment by a timer, while the program goes on: a Close in that time
// takes effect when the moment is over, a Show keeps the window up.
#include <QDialog>
#include <QTimer>
#include <string>

#include "platform/user_interfaces.h"

class QProgressBar;

namespace quenlet {

class TProgressWindow : public QDialog, public Progress {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 240;
  static constexpr int kClientHeight = 32;
  static constexpr int kDefaultCompletePauseMs = 100;

  explicit TProgressWindow(QWidget* owner = nullptr);

  // Progress
  void SetCaption(const std::string& caption) override;
  void SetMax(int max) override;
  void Show() override;
  void SetPosition(int position) override;
  // position := min(position + 1, Max - 1): only Complete fills the bar.
  void StepIt() override;
  // position := Max, paint, and the full bar is held for CompletePauseMs.
  void Complete() override;
  // Closes at once, or when the full bar's hold is over.
  void Close() override;

  // 1 while the window is shown.
  bool Shown() const { return shown_; }
  int Position() const;
  int Max() const;
  QProgressBar* Bar() const { return progress_; }

  // How long the full bar stays shown after Complete; 0 closes at once.
  int CompletePauseMs() const { return complete_pause_ms_; }
  void SetCompletePauseMs(int milliseconds) { complete_pause_ms_ = milliseconds; }
  // True while a completed bar is held.
  bool Holding() const { return hold_.isActive(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The window has no cancel: Escape does not hide it in the middle of a loop.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QProgressBar* progress_ = nullptr;
  bool shown_ = false;
  int complete_pause_ms_ = kDefaultCompletePauseMs;
  QTimer hold_;
  bool close_when_held_ = false;
};

}  // namespace quenlet
