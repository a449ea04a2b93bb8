#include "ui/buffer/block_dialog_window.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/buffer/hex_address_edit.h"
#include "ui/controls/dialog_look.h"

namespace quenlet {
namespace {

QLabel* ValueLabel(const char* name, const char* description, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAccessibleDescription(description);
  label->setFont(look::HexFont());
  // Lined up with the text inside the fields above it.
  label->setContentsMargins(4, 0, 0, 0);
  return label;
}

}  // namespace

// ------------------------------------------------------------ Block Process

TBlockDialog::TBlockDialog(OperationContext& ops, QWidget* owner)
    : TParameterDialog(owner), logic_(ops) {
  SetUpParameterDialog(this, "BlockDialog", "Block Process");
  Build();
  logic_.FormCreate();
  Push();
}

void TBlockDialog::Build() {
  QGridLayout* grid = MakeRangeGrid({"Source Range :", "8 Bit :", "16 Bit :", "StardAddEdit",
                                     "EndAddEdit", "StartAddEdit16", "EndStartAdd16"},
                                    source_, this);
  dest8_ = MakeHexEdit("DistSAdd8", "Destination start byte address", kAddressDigits, this);
  dest16_ = MakeHexEdit("DistSAdd16", "Destination start word address", kAddressDigits, this);
  TwinByteWordAddresses(dest8_, dest16_);
  dest_end8_ = ValueLabel("DistSAddLabel", "Destination end byte address", this);
  dest_end16_ = ValueLabel("DistSAdd16Label", "Destination end word address", this);
  grid->addWidget(new QLabel("Distination Range:", this), 4, 0, 1, 4);
  grid->addWidget(new QLabel("Start Address :", this), 5, kRangeLabelColumn);
  grid->addWidget(dest8_, 5, kRangeByteColumn);
  grid->addWidget(dest16_, 5, kRangeWordColumn);
  grid->addWidget(new QLabel("End Address :", this), 6, kRangeLabelColumn);
  grid->addWidget(dest_end8_, 6, kRangeByteColumn);
  grid->addWidget(dest_end16_, 6, kRangeWordColumn);
  grid->setRowMinimumHeight(4, 28);

  action_group_ = new QButtonGroup(this);
  const char* const kActions[] = {"Copy", "Move", "Swap"};
  QGroupBox* action_box = MakeRadioGroup("ActionGroup", "Action", kActions, 1, action_group_, this);

  auto* top = new QHBoxLayout;
  top->setSpacing(16);
  top->addLayout(grid);
  top->addWidget(action_box, 0, Qt::AlignTop);

  fill_max_ = MakeDialogButton("FillMaxRange", "Max", this);
  fill_file_ = MakeDialogButton("FillFileRange", "File ", this);
  fill_ic_ = MakeDialogButton("FillICSizeBB", "IC", this);
  QHBoxLayout* range_buttons = MakeRangeButtonRow({fill_max_, fill_file_, fill_ic_});

  // "Buffer Size :" with the buffer's size and a Resize button that has no
  // action of its own here (the editor's Resize command resizes).
  auto* size_panel = new QFrame(this);
  size_panel->setObjectName("BufferSizePanel");
  size_panel->setFrameShape(QFrame::StyledPanel);
  auto* size_row = new QHBoxLayout(size_panel);
  size_row->setContentsMargins(8, 4, 8, 4);
  size_row->setSpacing(8);
  buffer_size_ = ValueLabel("BufferSizeLabel", "Buffer size", size_panel);
  auto* resize = MakeDialogButton("ResizeBtn", "Resize", size_panel);
  resize->setEnabled(false);
  size_row->addWidget(new QLabel("Buffer Size :", size_panel));
  size_row->addWidget(buffer_size_);
  size_row->addWidget(new QLabel("(Bytes)", size_panel));
  size_row->addStretch();
  size_row->addWidget(resize);

  ok_ = MakeDialogButton("GetSumBtn", "OK", this);
  cancel_ = MakeDialogButton("ExitBtn", "Cancel", this);
  ok_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(12);
  layout->addLayout(top);
  layout->addLayout(range_buttons);
  layout->addWidget(size_panel);
  layout->addLayout(ButtonRow(ok_, cancel_));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  for (HexAddressEdit* edit :
       {source_.start8, source_.end8, source_.start16, source_.end16, dest8_, dest16_}) {
    // After the twin: the destination ends follow both.
    connect(edit, &HexAddressEdit::HexEdited, this,
            [this] { Act([this] { logic_.FieldsChanged(); }); });
  }
  connect(fill_max_, &QPushButton::clicked, this, &TBlockDialog::FillMaxRangeClick);
  connect(fill_file_, &QPushButton::clicked, this, &TBlockDialog::FillFileRangeClick);
  connect(fill_ic_, &QPushButton::clicked, this, &TBlockDialog::FillICSizeBBClick);
  connect(ok_, &QPushButton::clicked, this, &TBlockDialog::GetSumBtnClick);
  connect(cancel_, &QPushButton::clicked, this, &TBlockDialog::ExitBtnClick);
}

void TBlockDialog::Pull() {
  BlockDialogFields& f = logic_.fields();
  PullRange(source_, f.source);
  f.dest8 = dest8_->Text();
  f.dest16 = dest16_->Text();
  f.action = action_group_->checkedId();
}

void TBlockDialog::Push() {
  const BlockDialogFields& f = logic_.fields();
  PushRange(source_, f.source);
  SetIfDifferent(dest8_, f.dest8);
  SetIfDifferent(dest16_, f.dest16);
  dest_end8_->setText(QString::fromStdString(f.dest_end8));
  dest_end16_->setText(QString::fromStdString(f.dest_end16));
  if (QAbstractButton* action = action_group_->button(f.action)) action->setChecked(true);
  buffer_size_->setText(QString::fromStdString(f.buffer_size));
  fill_max_->setEnabled(f.range_enabled);
  fill_file_->setEnabled(f.range_enabled);
}

void TBlockDialog::GetSumBtnClick() {
  Confirm([this] { return logic_.GetSumBtnClick(); });
}

void TBlockDialog::ExitBtnClick() {
  Cancel();
}

void TBlockDialog::FillMaxRangeClick() {
  Act([&] { logic_.FillMaxRangeClick(); });
}

void TBlockDialog::FillFileRangeClick() {
  Act([&] { logic_.FillFileRangeClick(); });
}

void TBlockDialog::FillICSizeBBClick() {
  Act([&] { logic_.FillICSizeBBClick(); });
}

// ------------------------------------------------------------ Buffer Resize.

TResizeBufDialog::TResizeBufDialog(OperationContext& ops, QWidget* owner)
    : TParameterDialog(owner), logic_(ops) {
  // The title bar carries no buttons.
  SetUpParameterDialog(this, "ResizeBufDialog", "Buffer Resize.", false);
  size_edit_ = MakeHexEdit("BufSizeEdit", "Buffer size", kAddressDigits, this);
  ok_ = MakeDialogButton("OKBtn", "OK", this);
  cancel_ = MakeDialogButton("ExitBtn", "Cancel", this);
  ok_->setDefault(true);

  auto* caption = new QLabel("Buffer Size :", this);
  caption->setBuddy(size_edit_);
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  row->addWidget(caption);
  row->addWidget(size_edit_);
  row->addWidget(new QLabel("Bytes", this));
  row->addStretch();
  auto* bounds = new QLabel("[ 10000H ～ FFFFFF]", this);
  bounds->setObjectName("RangeCaption");

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(12);
  layout->addLayout(row);
  layout->addWidget(bounds);
  layout->addLayout(ButtonRow(ok_, cancel_));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok_, &QPushButton::clicked, this, &TResizeBufDialog::OKBtnClick);
  connect(cancel_, &QPushButton::clicked, this, &TResizeBufDialog::ExitBtnClick);

  logic_.FormCreate();
  Push();
}

void TResizeBufDialog::Pull() {
  logic_.size_text() = size_edit_->Text();
}

void TResizeBufDialog::Push() {
  SetIfDifferent(size_edit_, logic_.size_text());
}

void TResizeBufDialog::OKBtnClick() {
  Confirm([this] { return logic_.OKBtnClick(); });
}

void TResizeBufDialog::ExitBtnClick() {
  Cancel();
}

}  // namespace quenlet
