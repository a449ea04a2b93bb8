#include "ui/buffer/progress_window.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QProgressBar>
#include <QShowEvent>
#include <algorithm>
#include <utility>

#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {

TProgressWindow::TProgressWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("ProgressWindow");
  setWindowTitle("Progress");
  setFixedSize(kClientWidth, kClientHeight);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("Progress");
  progress_->setGeometry(8, 8, kClientWidth - 16, kClientHeight - 16);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  shown_ = false;
  hold_.setSingleShot(true);
  connect(&hold_, &QTimer::timeout, this, [this] {
    if (std::exchange(close_when_held_, false)) close();
  });
  FrameWindow(this);
  PlaceWindow(*this, WindowPlacement::OnScreen());
}

void TProgressWindow::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void TProgressWindow::SetMax(int max) {
  progress_->setMaximum(max);
}

void TProgressWindow::Show() {
  close_when_held_ = false;
  // Centred on the screen the main window is on now.
  if (!isVisible()) PlaceWindow(*this, WindowPlacement::OnScreen(parentWidget()));
  show();
}

// The bar keeps its position inside Min .. Max (a plain setValue outside the
// range would be dropped).
void TProgressWindow::SetPosition(int position) {
  progress_->setValue(std::clamp(position, progress_->minimum(), progress_->maximum()));
}

void TProgressWindow::StepIt() {
  SetPosition(std::min(progress_->value() + 1, progress_->maximum() - 1));
}

void TProgressWindow::Complete() {
  progress_->setValue(progress_->maximum());
  // The loop has not let the queue run: paint the full bar now. It stays
  // shown for the pause by the timer; the caller goes on at once.
  if (isVisible()) progress_->repaint();
  if (complete_pause_ms_ > 0) hold_.start(complete_pause_ms_);
}

void TProgressWindow::Close() {
  if (hold_.isActive()) {
    close_when_held_ = true;
    return;
  }
  close();
}

int TProgressWindow::Position() const {
  return progress_->value();
}

int TProgressWindow::Max() const {
  return progress_->maximum();
}

void TProgressWindow::showEvent(QShowEvent* event) {
  shown_ = true;
  QDialog::showEvent(event);
}

void TProgressWindow::hideEvent(QHideEvent* event) {
  shown_ = false;
  QDialog::hideEvent(event);
}

void TProgressWindow::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (event->isAccepted()) shown_ = false;
}

void TProgressWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace quenlet
