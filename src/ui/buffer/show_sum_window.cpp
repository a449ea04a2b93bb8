#include "ui/buffer/show_sum_window.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/strprintf.h"
#include "ui/controls/dialog_look.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

QLineEdit* HexEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit("00000000", parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setMaxLength(8);
  edit->setFont(look::HexFont());
  return edit;
}

QString Hex8(uint32_t value) {
  return QString::fromStdString(strprintf("%08lX", static_cast<unsigned long>(value)));
}

}  // namespace

TShowSum::TShowSum(QWidget* owner) : QDialog(owner) {
  setObjectName("ShowSum");
  setWindowTitle("Check Sum");
  ApplyDialogLook(this);

  auto* file_box = new QGroupBox(this);
  auto* file_form = new QFormLayout(file_box);
  file_check_sum_ = HexEdit("FileCheckSumEdit", file_box);
  file_start_ = HexEdit("FileStartAddressEdit", file_box);
  file_end_ = HexEdit("FileEndAddressEdit", file_box);
  file_form->addRow("File Check Sum", file_check_sum_);
  file_form->addRow("Start Address", file_start_);
  file_form->addRow("End Address", file_end_);

  auto* device_box = new QGroupBox(this);
  auto* device_form = new QFormLayout(device_box);
  device_check_sum_ = HexEdit("DeviceCheckSumEdit", device_box);
  device_start_ = HexEdit("DeviceStartAddressEdit", device_box);
  device_end_ = HexEdit("DeviceEndAddressEdit", device_box);
  device_form->addRow("Device Check Sum", device_check_sum_);
  device_form->addRow("Start Address", device_start_);
  device_form->addRow("End Address", device_end_);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TShowSum::OKClick);

  auto* boxes = new QHBoxLayout;
  boxes->setSpacing(12);
  boxes->addWidget(file_box);
  boxes->addWidget(device_box);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(12);
  layout->addLayout(boxes);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  FrameWindow(this);
}

void TShowSum::SetSummary(const LoadSummary& summary) {
  file_check_sum_->setText(Hex8(summary.file_sum));
  file_start_->setText(Hex8(summary.file_start));
  file_end_->setText(Hex8(summary.file_end));
  device_check_sum_->setText(Hex8(summary.device_sum));
  device_start_->setText(Hex8(summary.device_start));
  device_end_->setText(Hex8(summary.device_end));
}

void TShowSum::ShowModal() {
  // Over the main window where it is now: the window lives for the run.
  PlaceWindow(*this, WindowPlacement::OverMainWindow(parentWidget()));
  exec();
}

void TShowSum::OKClick() {
  accept();
}

}  // namespace quenlet
