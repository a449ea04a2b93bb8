#pragma once
// The summary window after a load ("Check Sum"): the file's sum and range and
// the device's sum and range, each as 8 hexadecimal digits in a read-only
// edit, and an OK button that closes it. One instance lives for the run.
#include <QDialog>

#include "buffer/load_summary.h"

class QLineEdit;

namespace quenlet {

class TShowSum : public QDialog {
  Q_OBJECT

 public:
  explicit TShowSum(QWidget* owner = nullptr);

  void SetSummary(const LoadSummary& summary);
  // Shown modally until OK.
  void ShowModal();

  QLineEdit* FileCheckSumEdit() const { return file_check_sum_; }
  QLineEdit* FileStartAddressEdit() const { return file_start_; }
  QLineEdit* FileEndAddressEdit() const { return file_end_; }
  QLineEdit* DeviceCheckSumEdit() const { return device_check_sum_; }
  QLineEdit* DeviceStartAddressEdit() const { return device_start_; }
  QLineEdit* DeviceEndAddressEdit() const { return device_end_; }

 public slots:
  void OKClick();

 private:
  QLineEdit* file_check_sum_ = nullptr;
  QLineEdit* file_start_ = nullptr;
  QLineEdit* file_end_ = nullptr;
  QLineEdit* device_check_sum_ = nullptr;
  QLineEdit* device_start_ = nullptr;
  QLineEdit* device_end_ = nullptr;
};

}  // namespace quenlet
