#include "ui/buffer/pal_fill_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "buffer/fuse_map_editor.h"
#include "ui/controls/look.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

QLineEdit* FuseEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFont(look::HexFont());
  edit->setFixedWidth(96);
  return edit;
}

}  // namespace

TPalFillDataForm::TPalFillDataForm(QWidget* parent) : QDialog(parent) {
  setObjectName("PalFillDataForm");
  setWindowTitle("Fill Data");
  setModal(true);

  edit1_ = FuseEdit("Edit1", this);
  edit2_ = FuseEdit("Edit2", this);
  edit1_->setAccessibleName("Start fuse");
  edit2_->setAccessibleName("End fuse");
  edit1_->installEventFilter(this);
  edit2_->installEventFilter(this);
  connect(edit1_, &QLineEdit::textChanged, this, &TPalFillDataForm::Edit1Change);
  connect(edit2_, &QLineEdit::textChanged, this, &TPalFillDataForm::Edit2Change);

  auto* max = new QPushButton("Max", this);
  max->setObjectName("MaxBtn");
  max->setAutoDefault(false);
  connect(max, &QPushButton::clicked, this, &TPalFillDataForm::MaxBtnClick);

  auto* range = new QHBoxLayout;
  range->setSpacing(8);
  range->addWidget(new QLabel("Range : ", this));
  range->addWidget(edit1_);
  range->addWidget(new QLabel("<-->", this));
  range->addWidget(edit2_);
  range->addWidget(max);

  auto* group_box = new QGroupBox("Fill Data ", this);
  group_box->setObjectName("FillGroup");
  auto* bits = new QGridLayout(group_box);
  fill_group_ = new QButtonGroup(this);
  for (int bit = 0; bit < 2; ++bit) {
    auto* radio = new QRadioButton(bit == 0 ? "Bit 0" : "Bit 1", group_box);
    fill_group_->addButton(radio, bit);
    bits->addWidget(radio, 0, bit);
  }
  fill_group_->button(0)->setChecked(true);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("BitBtn1");
  ok->setToolTip("Fill");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TPalFillDataForm::BitBtn1Click);
  auto* exit = new QPushButton("Exit", this);
  exit->setObjectName("BitBtn2");
  exit->setAutoDefault(false);
  connect(exit, &QPushButton::clicked, this, &TPalFillDataForm::BitBtn2Click);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(exit);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(12);
  layout->addLayout(range);
  layout->addWidget(group_box);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
  FrameWindow(this);
  PlaceWindow(*this, WindowPlacement::OverMainWindow(parent));
}

void TPalFillDataForm::SetForm2(FuseMapEditor* editor) {
  editor_ = editor;
  FormCreate();
}

void TPalFillDataForm::FormCreate() {
  created_ = false;
  if (editor_ != nullptr) {
    const FuseMapEditor::FillTexts texts = editor_->FillDialogTexts();
    edit1_->setText(QString::fromStdString(texts.start));
    edit2_->setText(QString::fromStdString(texts.end));
    fill_group_->button(texts.bit == 1 ? 1 : 0)->setChecked(true);
  }
  created_ = true;
}

void TPalFillDataForm::ApplyRule(QLineEdit* edit, const QString& text) {
  if (!created_ || editor_ == nullptr) return;
  const QString ruled =
      QString::fromStdString(FuseNumberText(text.toStdString(), editor_->FuseCount()));
  if (ruled == text) return;
  edit->setText(ruled);
  edit->setCursorPosition(static_cast<int>(ruled.size()));
}

void TPalFillDataForm::Edit1Change(const QString& text) {
  ApplyRule(edit1_, text);
}

void TPalFillDataForm::Edit2Change(const QString& text) {
  ApplyRule(edit2_, text);
}

void TPalFillDataForm::MaxBtnClick() {
  if (editor_ == nullptr) return;
  const FuseMapEditor::FillTexts texts = editor_->MaxTexts();
  edit1_->setText(QString::fromStdString(texts.start));
  edit2_->setText(QString::fromStdString(texts.end));
}

void TPalFillDataForm::BitBtn1Click() {
  if (editor_ == nullptr) return;
  if (editor_->AcceptFill(edit1_->text().toStdString(), edit2_->text().toStdString(),
                          fill_group_->checkedId())) {
    accept();
  }
}

void TPalFillDataForm::BitBtn2Click() {
  reject();
}

void TPalFillDataForm::reject() {
  if (editor_ != nullptr) editor_->CancelFill();
  QDialog::reject();
}

bool TPalFillDataForm::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (event->type() != QEvent::KeyPress || (edit != edit1_ && edit != edit2_)) {
    return QDialog::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  // Keys that type nothing (arrows, Delete, shortcuts) are not characters.
  if (text.size() != 1 || !text[0].isPrint()) return false;
  const QChar c = text[0];
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) return false;
  if (c >= 'a' && c <= 'f') edit->insert(QString(c.toUpper()));
  return true;
}

}  // namespace quenlet
