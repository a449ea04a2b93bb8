#pragma once
// What the load, save, block, resize, fill and checksum dialogs share: a
// window that mirrors the fields of its logic object. A change runs between the two
// (the widgets' texts into the logic, the change, the logic's fields back
// into the widgets); OK closes the dialog only when the logic accepted its
// fields; Escape and the title bar's close are Cancel, so that OK becomes
// "0" and a closed dialog never replays the last confirmed one.
#include <QDialog>
#include <functional>

namespace quenlet {

class TParameterDialog : public QDialog {
 public:
  void reject() override { Cancel(); }

 protected:
  explicit TParameterDialog(QWidget* owner, Qt::WindowFlags flags = {}) : QDialog(owner, flags) {}

  // The widgets' texts and choices into the logic's fields, and back.
  virtual void Pull() = 0;
  virtual void Push() = 0;
  // The logic's Cancel handler.
  virtual void CancelFields() = 0;

  void Act(const std::function<void()>& change) {
    Pull();
    change();
    Push();
  }
  void Confirm(const std::function<bool()>& ok) {
    bool passed = false;
    Act([&] { passed = ok(); });
    if (passed) accept();
  }
  void Cancel() {
    CancelFields();
    QDialog::reject();
  }
};

}  // namespace quenlet
