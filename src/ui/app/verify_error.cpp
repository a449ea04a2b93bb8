#include "ui/app/verify_error.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/dialog_look.h"
#include "ui/controls/window_frame.h"

namespace quenlet {

TVerify_error::TVerify_error(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("Verify_error");
  setWindowTitle(QStringLiteral("Verify Error"));
  ApplyDialogLook(this);
  resize(kSize);

  auto* panel = new QWidget(this);
  panel->setObjectName("verify_message");
  list_ = new QListWidget(panel);
  list_->setObjectName("verify_meaasge");
  list_->setAccessibleName(QStringLiteral("Verify errors"));
  list_->setFont(look::HexFont());
  auto* panel_layout = new QVBoxLayout(panel);
  panel_layout->setContentsMargins(0, 0, 0, 0);
  panel_layout->addWidget(list_);

  // STOP has no action of its own.
  stop_ = MakeDialogButton("BitBtn1", "STOP", this);
  stop_->setAutoDefault(false);
  cancel_ = MakeDialogButton("BitBtn2", "Cancel", this);
  connect(cancel_, &QPushButton::clicked, this, &TVerify_error::BitBtn2Click);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(12);
  layout->addWidget(panel, 1);
  layout->addLayout(ButtonRow(stop_, cancel_));
  FrameWindow(this);
}

void TVerify_error::BitBtn2Click() {
  close();
}

}  // namespace quenlet
