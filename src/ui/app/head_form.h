#pragma once
// The banner: a small window above every other with a short profile of the
// program scrolling up over its picture. A click anywhere, or the end of
// the first pass of the text, closes it. Nothing in the program opens it;
// RunHeand is the entry that would.
#include <QDialog>
#include <QTimer>
#include <cstdint>

namespace quenlet {

class TScrollText;

class THeadForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr QSize kSize{441, 318};
  static constexpr int kSteps = 500;
  static constexpr int kSpeed = 100;  // ms per step
  static constexpr int kTimerInterval = 2000;

  explicit THeadForm(QWidget* parent = nullptr);

  TScrollText* ScrollText1() const { return scroll_; }
  QWidget* Image1() const { return image_; }
  QTimer& Timer1() { return timer_; }

 public slots:
  void FormClick();
  void ScrollText1End();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QWidget* image_ = nullptr;
  TScrollText* scroll_ = nullptr;
  QTimer timer_;
};

// Shows the banner modally and destroys it afterwards; a `timer_flag` of 0
// leaves its timer off.
void RunHeand(int32_t timer_flag);

}  // namespace quenlet
