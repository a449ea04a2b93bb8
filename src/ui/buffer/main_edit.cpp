#include "ui/buffer/main_edit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "buffer/buffer_info.h"
#include "buffer/data_buffer.h"
#include "platform/ini_file.h"
#include "platform/user_interfaces.h"
#include "state/main_form_state.h"
#include "ui/buffer/hex_grid.h"
#include "ui/controls/look.h"

namespace quenlet {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// The Options button's glyph: three menu lines, drawn for 1x and 2x screens.
QIcon MenuGlyph() {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(look::kText, 2, Qt::SolidLine, Qt::RoundCap));
    for (int y : {4, 8, 12}) painter.drawLine(QPointF(3, y), QPointF(13, y));
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

TMainEdit::TMainEdit(DataBuffer& buffer, MainFormState& state, Messages& messages,
                     Progress& progress, QWidget* parent)
    : QWidget(parent), buffer_(buffer), messages_(messages), progress_(progress), view_(buffer) {
  setObjectName("MainEdit");
  setWindowTitle("Dump Edit");
  setFixedSize(kClientWidth, kClientHeight);
  setFont(look::LabelFont());
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, look::kSurface);
  palette.setColor(QPalette::WindowText, look::kText);
  setPalette(palette);
  setAutoFillBackground(true);

  // The editor's own settings first, as the window has always set them up.
  if (!state.ProgramDir.empty()) buffer_.SetHistoryIniPath(state.ProgramDir + "History_1.ini");
  buffer_.SetDataMode(kDataEveryByte);
  buffer_.SetFileStartAdd(0);
  buffer_.SetFileSize(0);

  pages_ = new QTabWidget(this);
  pages_->setObjectName("MainEditPage");
  pages_->addTab(
      BuildViewPage(HexGrid::Address8, HexGrid::Hex8, HexGrid::Char8, bar8_, "Edit8BitSheet"),
      "8 Bits");
  pages_->addTab(
      BuildViewPage(HexGrid::Address16, HexGrid::Hex16, HexGrid::Char16, bar16_, "Edit16BitSheet"),
      "16 Bits");
  pages_->addTab(BuildInfoPage(), "Buffer Info");
  pages_->setCornerWidget(BuildButtonPanel(), Qt::TopRightCorner);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pages_);
  connect(pages_, &QTabWidget::currentChanged, this, [this] { MainEditPageChange(); });

  BuildMenu();

  repaint_timer_ = new QTimer(this);
  repaint_timer_->setSingleShot(true);
  // The pending paint goes through the throttle too: it paints only once
  // the interval is over by the throttle's clock.
  connect(repaint_timer_, &QTimer::timeout, this, [this] { RefreshView(); });
  buffer_.SetChangeHandler([this](BufferChange change) { BufferChanged(change); });

  SyncBars();
  for (THexGrid* grid : grids_) grid->DescribeSelection();
  WriteCommonDataSelect(buffer_.DataMode());
}

TMainEdit::~TMainEdit() {
  buffer_.SetChangeHandler(nullptr);
}

QWidget* TMainEdit::BuildViewPage(HexGrid address, HexGrid hex, HexGrid chars, QScrollBar*& bar,
                                  const char* name) {
  auto* page = new QWidget;
  page->setObjectName(name);
  auto* row = new QHBoxLayout(page);
  row->setContentsMargins(3, 4, 3, 0);
  row->setSpacing(2);
  const HexGrid kinds[] = {address, hex, chars};
  for (HexGrid kind : kinds) {
    auto* grid = new THexGrid(view_, kind, page);
    grids_[size_t(kind)] = grid;
    row->addWidget(grid, 0, Qt::AlignTop);
    connect(grid, &THexGrid::Edited, this, [this](HexView::Typed typed) {
      if (typed == HexView::Typed::Jumped) SyncBars();
      RefreshView();
    });
    connect(grid, &THexGrid::SelectionMoved, this, [this, kinds] {
      for (HexGrid k : kinds) {
        grids_[size_t(k)]->update();
        grids_[size_t(k)]->DescribeSelection();
      }
    });
    connect(grid, &THexGrid::WheelTurned, this, &TMainEdit::Wheel);
    connect(grid, &THexGrid::MenuRequested, this, &TMainEdit::ShowMenu);
  }
  bar = new QScrollBar(Qt::Vertical, page);
  bar->setObjectName(address == HexGrid::Address8 ? "Edit8BitScrollBar" : "Edit16BitScrollBar");
  bar->setAccessibleName(address == HexGrid::Address8 ? "8-bit view position"
                                                      : "16-bit view position");
  // The view moves when the thumb is let go, not while it is dragged.
  bar->setTracking(false);
  bar->setSingleStep(1);
  bar->setPageStep(HexView::kScreenRows);
  bar->setFixedHeight(grids_[size_t(hex)]->height());
  bar->installEventFilter(this);
  QScrollBar* self = bar;
  connect(bar, &QScrollBar::actionTriggered, this,
          [this, self](int action) { BarAction(self, action); });
  connect(bar, &QScrollBar::sliderReleased, this, [this, self] {
    int position = self->sliderPosition();
    Scroll(int(ScrollCode::EndScroll), position);
  });
  row->addWidget(bar, 0, Qt::AlignTop);
  row->addStretch(1);
  return page;
}

QWidget* TMainEdit::BuildInfoPage() {
  auto* page = new QWidget;
  page->setObjectName("BufInfSheet");
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(16, 12, 16, 12);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(8);
  int line = 0;
  auto value = [&](const char* name, const char* description) {
    auto* label = new QLabel(page);
    label->setObjectName(name);
    label->setAccessibleDescription(description);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
  };
  auto add = [&](const char* caption, QLabel* label, bool mono) {
    if (mono) label->setFont(look::HexFont());
    auto* left = new QLabel(caption, page);
    grid->addWidget(left, line, 0);
    grid->addWidget(label, line, 1);
    ++line;
  };
  file_name_label_ = value("LastLoadFileNameLabel", "Last loaded file");
  file_format_label_ = value("FileFormatLabel", "File format");
  check_sum_label_ = value("CheckSumLabel", "Check sum");
  sum_range_label_ = value("SumSaddLabel", "Check sum range");
  buf_size_label_ = value("BufSizeLabel", "Buffer size");
  start_label_ = value("StartAddLabel", "File start address");
  end_label_ = value("EndAddressLabel", "File end address");
  file_name_label_->setWordWrap(true);
  // Every row a caption and its value; the two sum lines read as the
  // program's whole texts, caption and value side by side.
  add("Last Load File :", file_name_label_, false);
  add("File Format :", file_format_label_, false);
  add(kCheckSumCaption, check_sum_label_, true);
  add(kSumRangeCaption, sum_range_label_, true);
  add("Buffer Size :", buf_size_label_, true);
  add("Start Address :", start_label_, true);
  add("End Address :", end_label_, true);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(line, 1);
  return page;
}

QWidget* TMainEdit::BuildButtonPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("DC_Panel");
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 2, 0);
  row->setSpacing(2);
  options_ = new QToolButton(panel);
  options_->setObjectName("Options");
  options_->setText("Options");
  options_->setToolTip("Options");
  options_->setIcon(MenuGlyph());
  options_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  options_->setAccessibleName("Options");
  options_->setFixedHeight(22);
  connect(options_, &QToolButton::clicked, this, &TMainEdit::OptionsClick);
  row->addWidget(options_);
  struct Button {
    const char* name;
    const char* text;
    void (TMainEdit::*click)();
  };
  const Button buttons[] = {
      {"ByteSwapButton", "Byte Swap", &TMainEdit::ByteSwapButtonClick},
      {"WordSwapButton", "Word Swap", &TMainEdit::WordSwapButtonClick},
      {"DoubleSwapButton", "Double Swap", &TMainEdit::DoubleSwapButtonClick},
  };
  for (const Button& b : buttons) {
    // Tool buttons: their compact size leaves the tabs room beside them.
    auto* button = new QToolButton(panel);
    button->setText(b.text);
    button->setObjectName(b.name);
    button->setAccessibleName(b.text);
    button->setFixedHeight(22);
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QToolButton::clicked, this, b.click);
    row->addWidget(button);
  }
  return panel;
}

void TMainEdit::BuildMenu() {
  menu_ = new QMenu(this);
  menu_->setObjectName("PopupMenu");
  auto add = [this](QMenu* menu, const char* name, const char* text, void (TMainEdit::*click)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (click) {
      connect(action, &QAction::triggered, this, click);
    } else {
      action->setEnabled(false);  // no action behind it
    }
    return action;
  };
  QMenu* action = menu_->addMenu("Action");
  action->setObjectName("Action");
  add(action, "LoadFile", "Load", &TMainEdit::LoadFileClick);
  add(action, "SaveFile", "Save", &TMainEdit::SaveFileClick);
  add(menu_, "GetSum", "Get Sum", &TMainEdit::GetSumClick);
  add(menu_, "FillData", "Fill Data", &TMainEdit::FillDataClick);
  add(menu_, "Block", "Block", &TMainEdit::BlockClick);
  add(menu_, "Resize", "Resize", &TMainEdit::ResizeClick);
  menu_->addSeparator();
  add(menu_, "Search", "Search", nullptr);
  add(menu_, "SearchNext", "Search Next", nullptr);
  menu_->addSeparator();
  QMenu* data_set = menu_->addMenu("Data Set");
  data_set->setObjectName("DataSet");
  add(data_set, "All", "All", nullptr);
  add(data_set, "Even", "Even", &TMainEdit::EvenClick);
  add(data_set, "Odd", "Odd", &TMainEdit::OddClick);
  add(data_set, "SwapByte", "Swap Byte", &TMainEdit::SwapByteClick);
}

// ---- drawing ----------------------------------------------------------------

void TMainEdit::RefreshView() {
  if (!buffer_.HasBuffer()) return;
  const auto wait = throttle_.Refresh();
  if (wait.count() == 0) {
    repaint_timer_->stop();
    PaintNow();
  } else if (!repaint_timer_->isActive()) {
    repaint_timer_->start(wait);
  }
}

void TMainEdit::PaintNow() {
  throttle_.Painted();
  SyncBars();
  for (THexGrid* grid : grids_) {
    grid->update();
    grid->DescribeSelection();
  }
}

void TMainEdit::SyncBars() {
  const int last = int(std::min<int64_t>(view_.LastStartRow(), INT_MAX));
  const int position = int(std::min<int64_t>(view_.BarPosition(), INT_MAX));
  for (QScrollBar* bar : {bar8_, bar16_}) {
    const QSignalBlocker blocker(bar);
    bar->setRange(0, last);
    bar->setValue(position);
  }
}

void TMainEdit::PaintDC() {
  if (!buffer_.HasBuffer()) return;
  MainEditPageChange();
  RefreshView();
  update();
}

void TMainEdit::MainEditPageChange() {
  if (!buffer_.HasBuffer()) return;
  if (pages_->currentIndex() != kBufInfSheet) {
    RefreshView();
    return;
  }
  const BufferInfoTexts texts = ReadBufferInfo(buffer_);
  file_name_label_->setText(Q(texts.file_name));
  file_format_label_->setText(Q(texts.file_format));
  check_sum_label_->setText(Q(texts.check_sum));
  sum_range_label_->setText(Q(texts.sum_range));
  buf_size_label_->setText(Q(texts.buffer_size));
  start_label_->setText(Q(texts.start_address));
  end_label_->setText(Q(texts.end_address));
}

int32_t TMainEdit::ReturnDataMode() const {
  return buffer_.DataMode();
}

void TMainEdit::BufferChanged(BufferChange change) {
  if (change == BufferChange::Resized) view_.CancelEntry();
  SyncBars();
  RefreshView();
}

// ---- scrolling --------------------------------------------------------------

void TMainEdit::Scroll(int code, int& position) {
  if (!buffer_.HasBuffer()) return;
  position = int(std::min<int64_t>(view_.Scroll(static_cast<ScrollCode>(code), position), INT_MAX));
  SyncBars();
  RefreshView();
}

void TMainEdit::Edit8BitScrollBarScroll(int code, int& position) {
  Scroll(code, position);
}

void TMainEdit::Edit16BitScrollBarScroll(int code, int& position) {
  Scroll(code, position);
}

void TMainEdit::BarAction(QScrollBar* bar, int action) {
  int code = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = int(ScrollCode::LineUp);
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = int(ScrollCode::LineDown);
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = int(ScrollCode::PageUp);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = int(ScrollCode::PageDown);
      break;
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
      code = int(ScrollCode::EndScroll);
      break;
    case QAbstractSlider::SliderMove:
      // While the thumb is dragged nothing moves; its release ends the scroll.
      if (bar->isSliderDown()) return;
      code = int(ScrollCode::EndScroll);
      break;
    default:
      return;
  }
  int position = bar->sliderPosition();
  Scroll(code, position);
  // What the action itself would have done gives way to the view's row.
  bar->setSliderPosition(position);
}

void TMainEdit::Wheel(int angle_delta) {
  if (!buffer_.HasBuffer()) return;
  if (view_.Wheel(angle_delta) == 0) return;
  SyncBars();
  RefreshView();
}

bool TMainEdit::eventFilter(QObject* watched, QEvent* event) {
  // Over the bars too, the wheel moves by notches as over the grids.
  if (event->type() == QEvent::Wheel && (watched == bar8_ || watched == bar16_)) {
    Wheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// ---- commands ---------------------------------------------------------------

void TMainEdit::RunCommand(const std::function<void()>& command) {
  if (!buffer_.HasBuffer() || !command) return;
  command();
  MainEditPageChange();
}

void TMainEdit::LoadFileClick() {
  RunCommand(commands_.LoadFile);
}
void TMainEdit::SaveFileClick() {
  RunCommand(commands_.SaveFile);
}
void TMainEdit::GetSumClick() {
  RunCommand(commands_.GetSum);
}
void TMainEdit::FillDataClick() {
  RunCommand(commands_.FillData);
}
void TMainEdit::BlockClick() {
  RunCommand(commands_.Block);
}
void TMainEdit::ResizeClick() {
  RunCommand(commands_.Resize);
}

void TMainEdit::SetDataSet(int32_t mode) {
  if (!buffer_.HasBuffer() || !view_.MayWrite()) return;
  buffer_.SetDataSetInPlace(mode, progress_);
}

void TMainEdit::Swap(int32_t mode) {
  if (!buffer_.HasBuffer() || !view_.MayWrite()) return;
  buffer_.SwapInPlace(mode, progress_);
}

void TMainEdit::EvenClick() {
  SetDataSet(kDataEvenBytes);
}
void TMainEdit::OddClick() {
  SetDataSet(kDataOddBytes);
}
void TMainEdit::SwapByteClick() {
  SetDataSet(kDataSwapPairs);
}
void TMainEdit::ByteSwapButtonClick() {
  Swap(kDataByteSwap);
}
void TMainEdit::WordSwapButtonClick() {
  Swap(kDataWordSwap);
}
void TMainEdit::DoubleSwapButtonClick() {
  Swap(kDataDoubleSwap);
}

void TMainEdit::ShowMenu(QPoint global_position) {
  if (!buffer_.HasBuffer()) return;
  menu_->popup(global_position);
}

void TMainEdit::OptionsClick() {
  ShowMenu(options_->mapToGlobal(QPoint(0, options_->height())));
}

// ---- window -------------------------------------------------------------------

void TMainEdit::WriteCommonDataSelect(int32_t value) {
  if (!buffer_.HasBuffer() || buffer_.HistoryIniPath().empty()) return;
  IniFile(buffer_.HistoryIniPath()).WriteInteger("CommonParameterSet", "CommonDataSelect", value);
}

void TMainEdit::showEvent(QShowEvent* event) {
  WriteCommonDataSelect(buffer_.DataMode());
  QWidget::showEvent(event);
}

void TMainEdit::closeEvent(QCloseEvent* event) {
  if (view_.Modified() &&
      messages_.Box("Are you sure to close file ?", "CLOSE", MessageButtons::OkCancel,
                    MessageIcon::None) != MessageResult::Ok) {
    event->ignore();
    return;
  }
  WriteCommonDataSelect(0);
  if (close_handler_) close_handler_();
  event->accept();
}

}  // namespace quenlet
