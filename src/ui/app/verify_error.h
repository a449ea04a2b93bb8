#pragma once
// The verify-error list: a window with a list of messages, STOP and Cancel.
// It is made at start-up and kept for the whole run; verify only counts the
// bytes that differ, so nothing fills or shows it. Cancel closes it.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace quenlet {

class TVerify_error : public QDialog {
  Q_OBJECT

 public:
  static constexpr QSize kSize{360, 280};

  explicit TVerify_error(QWidget* parent = nullptr);

  QListWidget* verify_meaasge() const { return list_; }
  QPushButton* BitBtn1() const { return stop_; }
  QPushButton* BitBtn2() const { return cancel_; }

 public slots:
  void BitBtn2Click();

 private:
  QListWidget* list_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace quenlet
