#include "ui/buffer/fill_sum_dialog_windows.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/buffer/hex_address_edit.h"
#include "ui/controls/dialog_look.h"

namespace quenlet {
namespace {

// The texts of the radio groups, by code.
constexpr const char* kPatternTexts[] = {"All Bit 1", "All Bit 0", "Random Data", "Sequential Byte",
                                         "Sequential Word"};
constexpr const char* kWidthTexts[] = {"Byte", "Word"};

}  // namespace

// ---------------------------------------------------------------- Fill Data

TFillDataDialog::TFillDataDialog(OperationContext& ops, QWidget* owner)
    : TParameterDialog(owner), logic_(ops) {
  SetUpParameterDialog(this, "FillDataDialog", "Fill Data");
  Build();
  logic_.FormCreate();
  Push();
}

void TFillDataDialog::Build() {
  QGridLayout* grid = MakeRangeGrid(
      {"Range :", "8 Bit", "16 Bit", "SAddEdit8", "EAddEdit8", "SAddEdit16", "EAddEdit16"}, range_,
      this);
  fill_ic_ = MakeDialogButton("FillICSizeBB", "IC", this);
  fill_max_ = MakeDialogButton("MaxRangeBtn", "Max", this);
  fill_file_ = MakeDialogButton("FileRangeBtn", "File", this);

  pattern_group_ = new QButtonGroup(this);
  pattern_box_ =
      MakeRadioGroup("FillDataGroup", "Fill Data Select", kPatternTexts, 2, pattern_group_, this);

  user_check_ = new QCheckBox("User define[BYTE] :", this);
  user_check_->setObjectName("UserCheckBox");
  user_byte_ = MakeHexEdit("UserDefineEdit", "User byte value", kByteDigits, this);
  user_word_ = MakeHexEdit("UserDefWordEdit", "User word value", kWordDigits, this);
  width_group_ = new QButtonGroup(this);
  width_box_ =
      MakeRadioGroup("DefSetRadioGroup", "User Define", kWidthTexts, 2, width_group_, this);

  auto* user = new QGridLayout;
  user->setHorizontalSpacing(8);
  user->addWidget(user_check_, 0, 0);
  user->addWidget(user_byte_, 0, 1);
  user->addWidget(user_word_, 1, 1);
  user->addWidget(width_box_, 0, 2, 2, 1);
  user->setColumnStretch(3, 1);

  ok_ = MakeDialogButton("FillBtn", "OK", this);
  cancel_ = MakeDialogButton("CancelBtn", "Cancel", this);
  ok_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(12);
  layout->addLayout(grid);
  layout->addLayout(MakeRangeButtonRow({fill_ic_, fill_max_, fill_file_}));
  layout->addWidget(pattern_box_);
  layout->addLayout(user);
  layout->addLayout(ButtonRow(ok_, cancel_));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(user_check_, &QCheckBox::clicked, this, [this] { Act([] {}); });
  connect(width_group_, &QButtonGroup::idClicked, this, [this] { Act([] {}); });
  connect(fill_ic_, &QPushButton::clicked, this, &TFillDataDialog::FillICSizeBBClick);
  connect(fill_max_, &QPushButton::clicked, this, &TFillDataDialog::MaxRangeBtnClick);
  connect(fill_file_, &QPushButton::clicked, this, &TFillDataDialog::FileRangeBtnClick);
  connect(ok_, &QPushButton::clicked, this, &TFillDataDialog::FillBtnClick);
  connect(cancel_, &QPushButton::clicked, this, &TFillDataDialog::CancelBtnClick);
}

void TFillDataDialog::Pull() {
  FillDialogFields& f = logic_.fields();
  PullRange(range_, f.range);
  f.select = pattern_group_->checkedId();
  f.user_check = user_check_->isChecked();
  f.user_word = width_group_->checkedId() == 1 ? 1 : 0;
  f.user_byte_text = user_byte_->Text();
  f.user_word_text = user_word_->Text();
}

void TFillDataDialog::Push() {
  const FillDialogFields& f = logic_.fields();
  PushRange(range_, f.range);
  if (QAbstractButton* pattern = pattern_group_->button(f.select)) pattern->setChecked(true);
  user_check_->setChecked(f.user_check);
  if (QAbstractButton* width = width_group_->button(f.user_word)) width->setChecked(true);
  SetIfDifferent(user_byte_, f.user_byte_text);
  SetIfDifferent(user_word_, f.user_word_text);
  pattern_box_->setEnabled(f.PatternsEnabled());
  width_box_->setEnabled(f.user_check);
  user_byte_->setEnabled(f.ByteValueEnabled());
  user_word_->setEnabled(f.WordValueEnabled());
  fill_max_->setEnabled(f.range_enabled);
  fill_file_->setEnabled(f.range_enabled);
}

void TFillDataDialog::FillBtnClick() {
  Confirm([this] { return logic_.FillBtnClick(); });
}

void TFillDataDialog::CancelBtnClick() {
  Cancel();
}

void TFillDataDialog::FillICSizeBBClick() {
  Act([&] { logic_.FillICSizeBBClick(); });
}

void TFillDataDialog::MaxRangeBtnClick() {
  Act([&] { logic_.MaxRangeBtnClick(); });
}

void TFillDataDialog::FileRangeBtnClick() {
  Act([&] { logic_.FileRangeBtnClick(); });
}

// ------------------------------------------------------------ Get Check Sum

TGetSumDialog::TGetSumDialog(OperationContext& ops, QWidget* owner)
    : TParameterDialog(owner), logic_(ops) {
  SetUpParameterDialog(this, "GetSumDialog", "Get Check Sum");
  QGridLayout* grid = MakeRangeGrid({"Range :", "8 Bit :", "16 Bit :", "StardAddEdit", "EndAddEdit",
                                     "StartAddEdit16", "EndStartAdd16"},
                                    range_, this);
  fill_max_ = MakeDialogButton("FillMaxRange", "Max", this);
  fill_file_ = MakeDialogButton("FillFileRange", "File ", this);
  fill_ic_ = MakeDialogButton("FillICSizeBB", "IC", this);
  ok_ = MakeDialogButton("GetSumBtn", "OK", this);
  cancel_ = MakeDialogButton("ExitBtn", "Cancel", this);
  ok_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(12);
  layout->addLayout(grid);
  layout->addLayout(MakeRangeButtonRow({fill_max_, fill_file_, fill_ic_}));
  layout->addLayout(ButtonRow(ok_, cancel_));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(fill_max_, &QPushButton::clicked, this, &TGetSumDialog::FillMaxRangeClick);
  connect(fill_file_, &QPushButton::clicked, this, &TGetSumDialog::FillFileRangeClick);
  connect(fill_ic_, &QPushButton::clicked, this, &TGetSumDialog::FillICSizeBBClick);
  connect(ok_, &QPushButton::clicked, this, &TGetSumDialog::GetSumBtnClick);
  connect(cancel_, &QPushButton::clicked, this, &TGetSumDialog::ExitBtnClick);

  logic_.FormCreate();
  Push();
}

void TGetSumDialog::Push() {
  const SumDialogFields& f = logic_.fields();
  PushRange(range_, f.range);
  EnableRange(range_, f.range_enabled);
  fill_max_->setEnabled(f.range_enabled);
  fill_file_->setEnabled(f.range_enabled);
}

void TGetSumDialog::Pull() {
  PullRange(range_, logic_.fields().range);
}

void TGetSumDialog::GetSumBtnClick() {
  Confirm([this] { return logic_.GetSumBtnClick(); });
}

void TGetSumDialog::ExitBtnClick() {
  Cancel();
}

void TGetSumDialog::FillMaxRangeClick() {
  Act([&] { logic_.FillMaxRangeClick(); });
}

void TGetSumDialog::FillFileRangeClick() {
  Act([&] { logic_.FillFileRangeClick(); });
}

void TGetSumDialog::FillICSizeBBClick() {
  Act([&] { logic_.FillICSizeBBClick(); });
}

}  // namespace quenlet
