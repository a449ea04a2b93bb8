#include "ui/buffer/save_dialog_window.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/file_chooser.h"
#include "programmer/operation_context.h"
#include "ui/buffer/hex_address_edit.h"
#include "ui/controls/dialog_look.h"
#include "ui/controls/history_combo_box.h"
#include "ui/controls/window_frame.h"

namespace quenlet {
namespace {

constexpr const char* kSaveHistorySection = "BinSaveFileHistory";

}  // namespace

TLoadSaveDlg::TLoadSaveDlg(LoadSaveDialogEnv env, FileChooser& files,
                           const std::string& history_ini_file, QWidget* owner)
    : TParameterDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      logic_(env),
      env_(env),
      files_(files) {
  setObjectName("LoadSaveDlg");
  setWindowTitle("Save File");
  setModal(true);
  Build();
  name_edit_->SetIniFileName(history_ini_file);
  name_edit_->ReadIniFile();
  logic_.FormCreate();
  Push();
}

void TLoadSaveDlg::Build() {
  ApplyDialogLook(this);

  name_edit_ = MakeNameEdit(kSaveHistorySection, "Name", 320, this);
  browse_ = MakeDialogButton("BitBtn1", "Browse", this);

  format_group_ = new QButtonGroup(this);
  QGroupBox* format_box = MakeFormatGroup(kSaveFormatTexts, format_group_, this);

  source_start_ = MakeHexEdit("SourceSAdd", "Start address", kAddressDigits, this);
  source_end_ = MakeHexEdit("SourceEAdd", "End address", kAddressDigits, this);
  fill_file_ = MakeDialogButton("FillFileBtn", "File", this);
  fill_max_ = MakeDialogButton("FillMaxBtn", "Max", this);
  fill_ic_ = MakeDialogButton("FillICSizeBB", "IC", this);
  for (QPushButton* b : {fill_file_, fill_max_, fill_ic_}) b->setMinimumWidth(56);

  auto* range = new QGridLayout;
  range->setHorizontalSpacing(8);
  range->addWidget(new QLabel("Save Range  :", this), 0, 0, 1, 3);
  range->addWidget(new QLabel("Start Address [HEX-Byte]:", this), 1, 1);
  range->addWidget(source_start_, 1, 2);
  range->addWidget(new QLabel("End Address [HEX-Byte] :", this), 2, 1);
  range->addWidget(source_end_, 2, 2);
  range->setColumnMinimumWidth(0, 12);
  auto* range_buttons = new QHBoxLayout;
  range_buttons->setSpacing(8);
  range_buttons->addStretch();
  range_buttons->addWidget(fill_file_);
  range_buttons->addWidget(fill_max_);
  range_buttons->addWidget(fill_ic_);
  range->addLayout(range_buttons, 3, 1, 1, 2);

  auto* right = new QVBoxLayout;
  right->addLayout(range);
  right->addStretch();
  auto* middle = new QHBoxLayout;
  middle->setSpacing(12);
  middle->addWidget(format_box);
  middle->addLayout(right, 1);

  save_ = MakeDialogButton("BitBtn2", "Save", this);
  cancel_ = MakeDialogButton("BitBtn3", "Cancel", this);
  save_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->setSpacing(10);
  layout->addLayout(NameRow("Name :", name_edit_, browse_, this));
  layout->addLayout(middle);
  layout->addLayout(ButtonRow(save_, cancel_));
  // The heading of the load dialog, so that the two read alike.
  FrameWindow(this, WindowTitle::Band);

  connect(browse_, &QPushButton::clicked, this, &TLoadSaveDlg::BitBtn1Click);
  connect(save_, &QPushButton::clicked, this, &TLoadSaveDlg::BitBtn2Click);
  connect(cancel_, &QPushButton::clicked, this, &TLoadSaveDlg::BitBtn3Click);
  connect(fill_file_, &QPushButton::clicked, this, &TLoadSaveDlg::FillFileBtnClick);
  connect(fill_max_, &QPushButton::clicked, this, &TLoadSaveDlg::FillMaxBtnClick);
  connect(fill_ic_, &QPushButton::clicked, this, &TLoadSaveDlg::FillICSizeBBClick);
}

void TLoadSaveDlg::Pull() {
  SaveDialogFields& f = logic_.fields();
  f.name = name_edit_->Text();
  f.source_start = source_start_->Text();
  f.source_end = source_end_->Text();
  f.format = format_group_->checkedId();
}

void TLoadSaveDlg::Push() {
  const SaveDialogFields& f = logic_.fields();
  if (name_edit_->Text() != f.name) name_edit_->SetText(f.name);
  SetIfDifferent(source_start_, f.source_start);
  SetIfDifferent(source_end_, f.source_end);
  if (QAbstractButton* format = format_group_->button(f.format)) format->setChecked(true);
}

void TLoadSaveDlg::BitBtn1Click() {
  const std::string path = files_.ChooseSave(BrowseRequest(env_, true, name_edit_->Text()));
  Act([&] { logic_.BrowseChosen(path); });
}

void TLoadSaveDlg::BitBtn2Click() {
  Pull();
  if (!logic_.Save()) return;
  Push();
  name_edit_->WriteIniFile();
  accept();
}

void TLoadSaveDlg::BitBtn3Click() {
  Cancel();
}

void TLoadSaveDlg::FillMaxBtnClick() {
  Act([&] { logic_.FillMaxBtnClick(); });
}

void TLoadSaveDlg::FillFileBtnClick() {
  Act([&] { logic_.FillFileBtnClick(); });
}

void TLoadSaveDlg::FillICSizeBBClick() {
  Act([&] { logic_.FillICSizeBBClick(); });
}

}  // namespace quenlet
