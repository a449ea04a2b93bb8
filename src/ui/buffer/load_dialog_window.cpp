#include "ui/buffer/load_dialog_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "buffer/data_buffer.h"
#include "platform/file_chooser.h"
#include "programmer/operation_context.h"
#include "ui/buffer/hex_address_edit.h"
#include "ui/controls/dialog_look.h"
#include "ui/controls/history_combo_box.h"
#include "ui/controls/window_frame.h"

namespace quenlet {
namespace {

constexpr const char* kLoadHistorySection = "BinaryEditLoadFileHistory";

// The data-set radios: name, text, DataMode code, row (8/16/32 bits).
struct LaneButton {
  const char* name;
  const char* text;
  int code;
  int row;
};
constexpr LaneButton kLaneButtons[] = {
    {"every_8", "Every", kDataEveryByte, 0}, {"even_16", "EVEN", kDataEvenBytes, 1},
    {"odd_16", "ODD", kDataOddBytes, 1},     {"st_32", "1'st", kDataGroupByte0, 2},
    {"nd_32", "2'nd", kDataGroupByte1, 2},   {"rd_32", "3'rd", kDataGroupByte2, 2},
    {"th_32", "4'th", kDataGroupByte3, 2},
};

}  // namespace

TLoadDlg::TLoadDlg(LoadSaveDialogEnv env, FileChooser& files, const std::string& history_ini_file,
                   QWidget* owner)
    : TParameterDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      logic_(env),
      env_(env),
      files_(files) {
  setObjectName("LoadDlg");
  setWindowTitle("Load File");
  setModal(true);
  Build();
  name_edit_->SetIniFileName(history_ini_file);
  created_ = logic_.FormCreate();
  if (!created_) return;
  name_edit_->ReadIniFile();
  // The lanes show DataMode as it is; only a click changes it.
  if (QAbstractButton* lane = lane_group_->button(env_.ops.buffer.DataMode())) {
    lane->setChecked(true);
  }
  Push();
}

void TLoadDlg::Build() {
  ApplyDialogLook(this);

  name_edit_ = MakeNameEdit(kLoadHistorySection, "File", 360, this);
  browse_ = MakeDialogButton("BitBtn1", "Browse", this);

  format_group_ = new QButtonGroup(this);
  QGroupBox* format_box = MakeFormatGroup(kLoadFormatTexts, format_group_, this);

  source_start_ = MakeHexEdit("SourceSAdd", "Source start address", kAddressDigits, this);
  source_end_ = MakeHexEdit("SourceEAdd", "Source end address", kAddressDigits, this);
  dest_start_ = MakeHexEdit("DistSAdd", "Destination start address", kAddressDigits, this);
  user_fill_ = MakeHexEdit("UserFill", "Fill byte", kByteDigits, this);
  fill_unused_ = new QCheckBox("Fill unused with", this);
  fill_unused_->setObjectName("UnuserFillCheck");

  auto* ranges = new QGridLayout;
  ranges->setHorizontalSpacing(8);
  ranges->addWidget(new QLabel("Source Select :", this), 0, 0, 1, 3);
  ranges->addWidget(new QLabel("Start Address :", this), 1, 1);
  ranges->addWidget(source_start_, 1, 2);
  ranges->addWidget(new QLabel("End Address :", this), 2, 1);
  ranges->addWidget(source_end_, 2, 2);
  ranges->addWidget(new QLabel("Distination Select :", this), 3, 0, 1, 3);
  ranges->addWidget(new QLabel("Start Address :", this), 4, 1);
  ranges->addWidget(dest_start_, 4, 2);
  ranges->addWidget(fill_unused_, 5, 1);
  ranges->addWidget(user_fill_, 5, 2, Qt::AlignLeft);
  ranges->setColumnMinimumWidth(0, 12);
  ranges->setColumnStretch(3, 1);

  auto* lanes_box = new QGroupBox("Data Set", this);
  lanes_box->setObjectName("Data_Set");
  auto* lanes = new QGridLayout(lanes_box);
  lanes->setHorizontalSpacing(12);
  lanes->addWidget(new QLabel("8 Bits", lanes_box), 0, 0);
  lanes->addWidget(new QLabel("16 Bits", lanes_box), 1, 0);
  lanes->addWidget(new QLabel("32 Bits", lanes_box), 2, 0);
  lane_group_ = new QButtonGroup(this);
  int column[3] = {1, 1, 1};
  for (const LaneButton& lane : kLaneButtons) {
    auto* radio = new QRadioButton(lane.text, lanes_box);
    radio->setObjectName(lane.name);
    lane_group_->addButton(radio, lane.code);
    lanes->addWidget(radio, lane.row, column[lane.row]++);
  }
  lanes->setColumnStretch(5, 1);

  auto* right = new QVBoxLayout;
  right->addLayout(ranges);
  right->addSpacing(8);
  right->addWidget(lanes_box);
  right->addStretch();

  auto* middle = new QHBoxLayout;
  middle->setSpacing(12);
  middle->addWidget(format_box);
  middle->addLayout(right, 1);

  load_ = MakeDialogButton("BitBtn2", "Load", this);
  cancel_ = MakeDialogButton("BitBtn3", "Cancel", this);
  load_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->setSpacing(10);
  layout->addLayout(NameRow("File :", name_edit_, browse_, this));
  layout->addLayout(middle);
  layout->addLayout(ButtonRow(load_, cancel_));
  FrameWindow(this, WindowTitle::Band);

  connect(browse_, &QPushButton::clicked, this, &TLoadDlg::BitBtn1Click);
  connect(load_, &QPushButton::clicked, this, &TLoadDlg::BitBtn2Click);
  connect(cancel_, &QPushButton::clicked, this, &TLoadDlg::BitBtn3Click);
  connect(format_group_, &QButtonGroup::idClicked, this, &TLoadDlg::FormatGroupClick);
  connect(lane_group_, &QButtonGroup::idClicked, this,
          [this](int code) { logic_.LaneClick(code); });
  // Only the user's changes of the name: typing, or a pick from the list
  // (whose bytes the box keeps).
  connect(name_edit_->lineEdit(), &QLineEdit::textEdited, this, &TLoadDlg::NameEditChange);
  connect(name_edit_, &QComboBox::activated, this, &TLoadDlg::NameEditChange);
}

void TLoadDlg::Pull() {
  LoadDialogFields& f = logic_.fields();
  f.name = name_edit_->Text();
  f.source_start = source_start_->Text();
  f.source_end = source_end_->Text();
  f.dest_start = dest_start_->Text();
  f.user_fill = user_fill_->Text();
  f.fill_unused = fill_unused_->isChecked();
  f.format = format_group_->checkedId();
}

void TLoadDlg::Push() {
  const LoadDialogFields& f = logic_.fields();
  if (name_edit_->Text() != f.name) name_edit_->SetText(f.name);
  SetIfDifferent(source_start_, f.source_start);
  SetIfDifferent(source_end_, f.source_end);
  SetIfDifferent(dest_start_, f.dest_start);
  SetIfDifferent(user_fill_, f.user_fill);
  fill_unused_->setChecked(f.fill_unused);
  if (QAbstractButton* format = format_group_->button(f.format)) format->setChecked(true);
  for (HexAddressEdit* edit : {source_start_, source_end_, dest_start_}) {
    edit->setEnabled(f.range_enabled);
  }
}

void TLoadDlg::SetFileName(const std::string& name) {
  Act([&] {
    logic_.fields().name = name;
    logic_.NameEditChange(name);
  });
}

void TLoadDlg::NameEditChange() {
  const std::string name = name_edit_->Text();
  Act([&] { logic_.NameEditChange(name); });
}

void TLoadDlg::BitBtn1Click() {
  const std::string path = files_.ChooseOpen(BrowseRequest(env_, false, name_edit_->Text()));
  Act([&] { logic_.BrowseChosen(path); });
}

void TLoadDlg::BitBtn2Click() {
  Pull();
  if (!logic_.Load()) return;
  Push();  // the full path, which the history keeps
  // The history takes the name once the file has loaded: a file that fails
  // to load leaves it as it was.
  env_.session.name_history_write = name_edit_->DeferredWrite();
  accept();
}

void TLoadDlg::BitBtn3Click() {
  Cancel();
}

void TLoadDlg::FormatGroupClick(int code) {
  Act([&] { logic_.FormatGroupClick(code); });
}

}  // namespace quenlet
