#include "ui/programmer/hardware_option_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "programmer/operation_context.h"
#include "programmer/sound_options.h"
#include "programmer/step_fail.h"
#include "ui/controls/dialog_look.h"
#include "ui/controls/display_text.h"
#include "ui/controls/look.h"
#include "ui/controls/window_frame.h"

namespace quenlet {
namespace {

constexpr const char* kInfoRows[] = {
    "Machine Name :", "Machine Type :", "S/N :", "Firmware Version :", "Status :"};
constexpr const char* kInfoNames[] = {"hard_name", "hard_type", "hard_sn", "hard_version",
                                      "hard_state"};
constexpr const char* kCountCaption = "熱機次數          ";

QLabel* ValueLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(HardwareInfoLabels::kInitial, parent);
  label->setObjectName(name);
  label->setFont(look::HexFont());
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

// An item's caption as its cell shows it: the blanks that lined its colon
// up with the others' go, as the grid lines the cells up.
QString ItemCaption(const char* caption) {
  QString text = QString::fromUtf8(caption).trimmed();
  if (text.endsWith(':')) text = text.chopped(1).trimmed() + " :";
  return text;
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
}

}  // namespace

THardWare_Option::THardWare_Option(OperationContext& ops,
                                   std::function<void()> pass_counter_changed, QWidget* parent)
    : QDialog(parent), ops_(ops), self_test_(ops, *this, std::move(pass_counter_changed)) {
  setObjectName("HardWare_Option");
  setWindowTitle("Hardware_Option");
  setModal(true);
  ApplyDialogLook(this);

  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl1");
  pages_->addTab(BuildSystemPage(), "System Option");
  pages_->addTab(BuildSelfTestPage(), "Self Test");

  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");
  timer_->setInterval(kTimerInterval);
  connect(timer_, &QTimer::timeout, this, &THardWare_Option::Timer1Timer);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(pages_);
  setFixedSize(sizeHint().expandedTo(QSize(520, 0)));
  FrameWindow(this);
}

THardWare_Option::~THardWare_Option() {
  // A window deleted without being closed still gives the device back.
  if (!closing_ && ops_.state.SelfTestMode == 1 && !self_test_.Running()) {
    self_test_.WindowClosing();
  }
}

QWidget* THardWare_Option::BuildSystemPage() {
  auto* page = new QWidget;
  page->setObjectName("SystemOption");

  auto* info = new QGroupBox(page);
  info->setObjectName("InfoGroup");
  auto* grid = new QGridLayout(info);
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(8);
  QLabel** values[] = {&hard_name_, &hard_type_, &hard_sn_, &hard_version_, &hard_state_};
  for (int row = 0; row < 5; ++row) {
    *values[row] = ValueLabel(kInfoNames[row], info);
    auto* caption = new QLabel(kInfoRows[row], info);
    caption->setBuddy(*values[row]);
    (*values[row])->setAccessibleDescription(QString(kInfoRows[row]).chopped(2));
    grid->addWidget(caption, row, 0);
    grid->addWidget(*values[row], row, 1);
  }
  grid->setColumnStretch(1, 1);
  auto* connect_button = MakeDialogButton("Hard_OK", "Connect", info);
  connect(connect_button, &QPushButton::clicked, this, &THardWare_Option::Hard_OKClick);
  grid->addWidget(connect_button, 4, 2, Qt::AlignBottom);

  auto* sound = new QGroupBox(page);
  sound->setObjectName("SoundGroup");
  no_sound_ = new QRadioButton("No Sound", sound);
  no_sound_->setObjectName("No_sound");
  play_sound_ = new QRadioButton("Play a sound when process completed", sound);
  play_sound_->setObjectName("play_sound");
  auto* on_off = new QButtonGroup(sound);
  on_off->addButton(no_sound_);
  on_off->addButton(play_sound_);
  connect(no_sound_, &QRadioButton::clicked, this, &THardWare_Option::No_soundClick);
  connect(play_sound_, &QRadioButton::clicked, this, &THardWare_Option::play_soundClick);

  pass_test_ = MakeDialogButton("pass_test", "Pass", sound);
  fail_test_ = MakeDialogButton("fail_test", "Fail", sound);
  connect(pass_test_, &QPushButton::clicked, this, &THardWare_Option::pass_testClick);
  connect(fail_test_, &QPushButton::clicked, this, &THardWare_Option::fail_testClick);

  sound_effect_box_ = new QGroupBox(sound);
  sound_effect_box_->setObjectName("sound_effect");
  sound_effect_box_->setAccessibleName("Sound effect");
  auto* effects = new QHBoxLayout(sound_effect_box_);
  sound_effect_ = new QButtonGroup(sound_effect_box_);
  int id = 0;
  for (const char* item : {"Effect Mode", "Easy   Mode"}) {
    auto* radio = new QRadioButton(item, sound_effect_box_);
    sound_effect_->addButton(radio, id++);
    effects->addWidget(radio);
  }
  connect(sound_effect_, &QButtonGroup::idClicked, this, &THardWare_Option::sound_effectClick);

  auto* tests = new QHBoxLayout;
  tests->setSpacing(8);
  tests->addSpacing(24);
  tests->addWidget(pass_test_);
  tests->addWidget(fail_test_);
  tests->addWidget(sound_effect_box_, 1);
  auto* sound_layout = new QVBoxLayout(sound);
  sound_layout->setSpacing(8);
  sound_layout->addWidget(no_sound_);
  sound_layout->addWidget(play_sound_);
  sound_layout->addLayout(tests);

  hot_key_function_ = new QCheckBox("Hot Key Function Active", page);
  hot_key_function_->setObjectName("hot_key_function");

  auto* exit = MakeDialogButton("Hard_Cancel", "Exit", page);
  connect(exit, &QPushButton::clicked, this, &THardWare_Option::Hard_CancelClick);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(hot_key_function_);
  bottom->addStretch();
  bottom->addWidget(exit);

  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(12);
  layout->addWidget(info);
  layout->addWidget(sound);
  layout->addStretch();
  layout->addLayout(bottom);
  return page;
}

QWidget* THardWare_Option::BuildSelfTestPage() {
  auto* page = new QWidget;
  page->setObjectName("SelfTest");

  auto* report = new QGroupBox(page);
  report->setObjectName("ReportGroup");
  // A column of caption cells (right-aligned, so that the colons line up)
  // and a column of the cells the report's lines go in.
  auto* grid = new QGridLayout(report);
  grid->setContentsMargins(12, 6, 12, 6);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(0);
  const QFont mono = look::Mono(11);
  // Room for a line of fourteen result values without the window growing.
  const int value_width = QFontMetrics(mono).horizontalAdvance(QString("00 ").repeated(14));
  for (int line = 0; line < kSelfTestLines; ++line) {
    auto* caption = new QLabel(ItemCaption(self_test_text::kItemCaptions[line]), report);
    caption->setObjectName(QString("Caption%1").arg(line + 1));
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setFont(look::CaptionFont());
    auto* text = new QLabel(report);
    text->setObjectName(QString("StaticText%1").arg(line + 1));
    text->setFont(mono);
    text->setMinimumWidth(value_width);
    text->setAccessibleDescription(QString("Self-test line %1").arg(line + 1));
    caption->setBuddy(text);
    grid->addWidget(caption, line, 0);
    grid->addWidget(text, line, 1);
    report_[line] = text;
  }
  grid->setColumnStretch(1, 1);

  auto* count_caption = new QLabel(kCountCaption, page);
  count_ = new QLabel("0", page);
  count_->setObjectName("B_T");
  count_->setFont(look::HexFont());
  count_->setAccessibleDescription("Warm-up count");
  count_caption->setBuddy(count_);
  status_ = new QLabel(self_test_text::kReady, page);
  status_->setObjectName("StaticText19");
  status_->setFont(look::TitleFont());
  status_->setAccessibleDescription("Self-test status");
  status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  const QFontMetrics title(status_->font());
  int status_width = 0;
  for (const char* text :
       {self_test_text::kReady, self_test_text::kCompleted, self_test_text::kNotConnected}) {
    status_width = std::max(status_width, title.horizontalAdvance(text));
  }
  status_->setMinimumWidth(status_width + 8);
  auto* state_row = new QHBoxLayout;
  state_row->addWidget(count_caption);
  state_row->addWidget(count_);
  state_row->addStretch();
  state_row->addWidget(status_);

  error_message_ = new QListWidget(page);
  error_message_->setObjectName("Error_Message");
  error_message_->setAccessibleName("Messages");
  error_message_->setFixedHeight(44);

  auto* execute = MakeDialogButton("Self_OK", "Execute", page);
  execute->setDefault(true);
  connect(execute, &QPushButton::clicked, this, &THardWare_Option::Self_OKClick);
  auto* cancel = MakeDialogButton("Shelf_Cancel", "Cancel", page);
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &THardWare_Option::Shelf_CancelClick);
  shelf_stop_ = MakeDialogButton("Shelf_stop", "STOP", page);
  shelf_stop_->setAutoDefault(false);
  shelf_stop_->setEnabled(false);
  shelf_stop_->hide();
  connect(shelf_stop_, &QPushButton::clicked, this, &THardWare_Option::Shelf_stopClick);
  auto* buttons = ButtonRow(execute, cancel);
  buttons->insertWidget(1, shelf_stop_);

  // Tight enough for the window to fit inside the main window.
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(6);
  layout->addWidget(report);
  layout->addLayout(state_row);
  layout->addWidget(error_message_);
  layout->addLayout(buttons);
  return page;
}

void THardWare_Option::ShowHardwareInfo() {
  quenlet::ShowHardwareInfo(ops_.link, info_);
  hard_name_->setText(DisplayText(info_.name));
  hard_type_->setText(DisplayText(info_.type));
  hard_sn_->setText(DisplayText(info_.serial));
  hard_version_->setText(DisplayText(info_.version));
  hard_state_->setText(DisplayText(info_.state));
}

void THardWare_Option::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void THardWare_Option::FormShow() {
  const SoundChoices choices = SoundChoicesFromState(ops_.state);
  play_sound_->setChecked(choices.play_sound);
  no_sound_->setChecked(!choices.play_sound);
  if (QAbstractButton* item = sound_effect_->button(choices.effect)) item->setChecked(true);
  hot_key_function_->setChecked(choices.hot_key);
  FollowSoundChoice();
}

void THardWare_Option::FollowSoundChoice() {
  const bool on = play_sound_->isChecked();
  pass_test_->setEnabled(on);
  fail_test_->setEnabled(on);
  sound_effect_box_->setEnabled(on);
}

void THardWare_Option::Hard_OKClick() {
  ShowHardwareInfo();
}

void THardWare_Option::No_soundClick() {
  no_sound_->setChecked(true);
  FollowSoundChoice();
}

void THardWare_Option::play_soundClick() {
  play_sound_->setChecked(true);
  FollowSoundChoice();
}

void THardWare_Option::pass_testClick() {
  PlayPassSound(ops_.sound);
}

void THardWare_Option::fail_testClick() {
  const int item = sound_effect_->checkedId();
  PlayFailSound(ops_.sound, ops_.pump,
                item >= 0 ? static_cast<uint8_t>(item) : ops_.state.SoundKind);
}

void THardWare_Option::sound_effectClick(int index) {
  ops_.state.SoundKind = static_cast<uint8_t>(index);
}

void THardWare_Option::Hard_CancelClick() {
  const int item = sound_effect_->checkedId();
  const SoundChoices choices{play_sound_->isChecked(), item >= 0 ? item : ops_.state.SoundKind,
                             hot_key_function_->isChecked()};
  StoreSoundChoices(ops_.state, choices, ops_.messages);
  accept();
}

void THardWare_Option::Self_OKClick() {
  self_test_.Self_OKClick();
}

void THardWare_Option::Timer1Timer() {
  self_test_.Timer1Timer();
}

void THardWare_Option::Shelf_stopClick() {
  self_test_.Shelf_stopClick();
}

void THardWare_Option::Shelf_CancelClick() {
  self_test_.Shelf_CancelClick();
}

void THardWare_Option::done(int result) {
  if (!closing_) {
    closing_ = true;
    self_test_.WindowClosing();
    closing_ = false;
  }
  QDialog::done(result);
}

void THardWare_Option::SetReportLine(int line, const std::string& text) {
  report_.at(line)->setText(DisplayText(text));
}

void THardWare_Option::SetStatus(const std::string& text) {
  status_->setText(DisplayText(text));
  const bool passed = text == self_test_text::kCompleted;
  const bool failed = text == self_test_text::kNotConnected;
  SetTextColour(status_, passed ? look::kPass : failed ? look::kFail : look::kText);
}

void THardWare_Option::AddMessage(const std::string& text) {
  error_message_->addItem(DisplayText(text));
  error_message_->scrollToBottom();
}

void THardWare_Option::SetCount(const std::string& text) {
  count_->setText(DisplayText(text));
}

void THardWare_Option::SetTimerRunning(bool running) {
  if (running) {
    timer_->start();
  } else {
    timer_->stop();
  }
}

void THardWare_Option::Close() {
  reject();
}

}  // namespace quenlet
