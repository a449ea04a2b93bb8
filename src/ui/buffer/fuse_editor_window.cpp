#include "ui/buffer/fuse_editor_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "buffer/fuse_map.h"
#include "ui/buffer/fuse_tile_button.h"
#include "ui/buffer/pal_fill_dialog.h"
#include "ui/controls/look.h"
#include "ui/controls/pal_show_box.h"

namespace quenlet {
namespace {

constexpr int kCell = 16;
int BarValue(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, 0, std::numeric_limits<int>::max()));
}

QLabel* ValueLabel(const char* name, const char* description, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFont(look::HexFont());
  label->setAccessibleDescription(description);
  return label;
}

QLabel* PictureLabel(const char* name, const QPixmap& picture, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setPixmap(picture);
  label->setFixedSize(kCell, kCell);
  return label;
}

}  // namespace

Tform2::Tform2(const FuseEditorLinks& links, QWidget* parent) : QWidget(parent), editor_(links) {
  setObjectName("form2");
  setAccessibleName("Fuse map editor");
  setAttribute(Qt::WA_StyledBackground, false);
  setFont(look::LabelFont());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(8);
  layout->addWidget(BuildTopPanel());
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PalPageControl");
  QWidget* page = BuildEditPage();
  pages_->addTab(page, "GAL Edit");
  layout->addWidget(pages_);
  // A window given more height than it needs keeps its grid as it is and
  // sets its buttons at the foot.
  pages_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  layout->addStretch(1);
  layout->addWidget(BuildBottomPanel());

  editor_.SetRedrawHandler([this] { ShowView(); });
  // A device read changes the map under the window; the window may be gone
  // by then.
  links.fuse_map.SetChangeHandler([window = QPointer<Tform2>(this)] {
    if (window) window->DrawFuseView();
  });
  ShowLabels();
  setFixedSize(sizeHint());
}

Tform2::~Tform2() {
  // The controls outlive the editor object while the window is taken down,
  // and losing the keyboard focus makes the grid report: stop listening.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

QWidget* Tform2::BuildTopPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("GAL_UP");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(4);

  jump_edit_ = new QLineEdit("00000000", panel);
  jump_edit_->setObjectName("JumpEdit");
  jump_edit_->setAccessibleName("Fuse number");
  jump_edit_->setFont(look::HexFont());
  jump_edit_->setFixedWidth(96);
  connect(jump_edit_, &QLineEdit::textChanged, this, &Tform2::JumpEditChange);

  auto* jump =
      new FuseTileButton(FuseTileButton::Glyph::Jump, FuseTileButton::Shape::Bar, "Jump ", panel);
  jump->setObjectName("Jump_buttom");
  connect(jump, &QAbstractButton::clicked, this, &Tform2::jump_bmpMouseUp);

  x_label_ = ValueLabel("XLabel", "Focused fuse position", panel);
  square_label_ = ValueLabel("SquareLabel", "Fuse map size", panel);

  const qreal ratio = devicePixelRatioF();
  bitmap0_label_ = new QLabel(panel);
  bitmap0_label_->setObjectName("Bitmap0Label");
  bigmap1_label_ = new QLabel(panel);
  bigmap1_label_->setObjectName("BigMap1Label");
  auto* legend = new QHBoxLayout;
  legend->setSpacing(4);
  legend->addWidget(PictureLabel(
      "Blown0", TPalShowBox::DrawnPicture(TPalShowBox::Picture::BitLow, kCell, ratio), panel));
  legend->addWidget(bitmap0_label_);
  legend->addSpacing(12);
  legend->addWidget(PictureLabel(
      "Intact1", TPalShowBox::DrawnPicture(TPalShowBox::Picture::BitHeigh, kCell, ratio), panel));
  legend->addWidget(bigmap1_label_);
  legend->addStretch();

  grid->addWidget(new QLabel("Current :", panel), 0, 0);
  grid->addWidget(jump_edit_, 0, 1);
  grid->addWidget(jump, 0, 2);
  grid->addWidget(x_label_, 0, 3);
  grid->addLayout(legend, 1, 0, 1, 3);
  grid->addWidget(square_label_, 1, 3);
  grid->setColumnStretch(3, 1);
  return panel;
}

QWidget* Tform2::BuildEditPage() {
  auto* page = new QWidget;
  page->setObjectName("PalEditTabSheet");
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setSpacing(0);

  grid_ = new TPalShowBox(page);
  grid_->setObjectName("PalShowBox1");
  const qreal ratio = devicePixelRatioF();
  grid_->SetBitHeigh(TPalShowBox::DrawnPicture(TPalShowBox::Picture::BitHeigh, kCell, ratio));
  grid_->SetBitLowPictur(TPalShowBox::DrawnPicture(TPalShowBox::Picture::BitLow, kCell, ratio));
  grid_->SetHeighDown(TPalShowBox::DrawnPicture(TPalShowBox::Picture::HeighDown, kCell, ratio));
  grid_->SetLowDown(TPalShowBox::DrawnPicture(TPalShowBox::Picture::LowDown, kCell, ratio));
  grid_->SetWColls(FuseMapEditor::kGridColumns);
  grid_->SetHColls(FuseMapEditor::kGridRows);
  connect(grid_, &TPalShowBox::Change, this, &Tform2::PalShowBox1Change);
  connect(grid_, &TPalShowBox::CurrentChange, this, &Tform2::PalShowBox1CurrentChange);
  connect(grid_, &TPalShowBox::LeftEvent, this, &Tform2::PalShowBox1LeftEvent);
  connect(grid_, &TPalShowBox::RightEvent, this, &Tform2::PalShowBox1RightEvent);
  connect(grid_, &TPalShowBox::BarUpEvent, this, &Tform2::PalShowBox1BarUpEvent);
  connect(grid_, &TPalShowBox::BarDownEvent, this, &Tform2::PalShowBox1BarDownEvent);

  // Each row's first fuse number, level with the grid's rows inside its frame.
  addresses_ = new QTableWidget(FuseMapEditor::kGridRows, 2, page);
  addresses_->setObjectName("FuseAddStringGrid");
  addresses_->setAccessibleDescription("First fuse of each row");
  addresses_->setFont(look::HexFont());
  addresses_->setFrameShape(QFrame::NoFrame);
  addresses_->setShowGrid(false);
  addresses_->setFocusPolicy(Qt::NoFocus);
  addresses_->setSelectionMode(QAbstractItemView::NoSelection);
  addresses_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  addresses_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  addresses_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  addresses_->horizontalHeader()->hide();
  addresses_->verticalHeader()->hide();
  addresses_->verticalHeader()->setMinimumSectionSize(kCell);
  addresses_->verticalHeader()->setDefaultSectionSize(kCell);
  addresses_->setColumnWidth(0, 80);
  addresses_->setColumnHidden(1, true);
  addresses_->setStyleSheet("QTableWidget { background: transparent; }");
  for (int r = 0; r < FuseMapEditor::kGridRows; ++r) {
    auto* item = new QTableWidgetItem;
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addresses_->setItem(r, 0, item);
  }
  addresses_->setFixedSize(80, kCell * FuseMapEditor::kGridRows);
  auto* column = new QVBoxLayout;
  column->setContentsMargins(0, TPalShowBox::kFrame - 1, 8, 0);
  column->addWidget(addresses_);
  column->addStretch();

  bar_v_ = new QScrollBar(Qt::Vertical, page);
  bar_v_->setObjectName("PalScrollBar_V");
  bar_v_->setAccessibleName("Rows");
  bar_h_ = new QScrollBar(Qt::Horizontal, page);
  bar_h_->setObjectName("PalScrollBar_H");
  bar_h_->setAccessibleName("Columns");
  for (QScrollBar* bar : {bar_v_, bar_h_}) {
    // Dragging the thumb moves the view when it is let go.
    bar->setTracking(false);
    bar->setSingleStep(1);
  }
  bar_v_->setFixedHeight(grid_->height());
  bar_h_->setFixedWidth(grid_->width());
  connect(bar_v_, &QScrollBar::valueChanged, this, &Tform2::PalScrollBar_VScroll);
  connect(bar_h_, &QScrollBar::valueChanged, this, &Tform2::PalScrollBar_HScroll);

  grid->addLayout(column, 0, 0);
  grid->addWidget(grid_, 0, 1);
  grid->addWidget(bar_v_, 0, 2);
  grid->addWidget(bar_h_, 1, 1);
  grid->setColumnStretch(3, 1);
  return page;
}

QWidget* Tform2::BuildBottomPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("GAL_DOWN");
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(8);

  auto* load = new QToolButton(panel);
  load->setObjectName("GAL_load");
  load->setToolTip("Load JED File.");
  load->setAccessibleName("Load JED File.");
  load->hide();
  connect(load, &QToolButton::clicked, this, &Tform2::GAL_loadClick);
  auto* save = new QToolButton(panel);
  save->setObjectName("Gal_Save");
  save->setToolTip("Save JED File.");
  save->setAccessibleName("Save JED File.");
  save->hide();
  connect(save, &QToolButton::clicked, this, &Tform2::Gal_SaveClick);

  auto* sum =
      new FuseTileButton(FuseTileButton::Glyph::Sum, FuseTileButton::Shape::Tile, "SUM", panel);
  sum->setObjectName("check_sum");
  connect(sum, &QAbstractButton::clicked, this, &Tform2::check_sumClick);
  auto* fill =
      new FuseTileButton(FuseTileButton::Glyph::Fill, FuseTileButton::Shape::Tile, "Fill", panel);
  fill->setObjectName("Full_data");
  connect(fill, &QAbstractButton::clicked, this, &Tform2::Full_dataClick);
  auto* ok =
      new FuseTileButton(FuseTileButton::Glyph::Ok, FuseTileButton::Shape::Tile, "OK", panel);
  ok->setObjectName("GAL_Image6");
  connect(ok, &QAbstractButton::clicked, this, &Tform2::GAL_Image6Click);

  row->addWidget(load);
  row->addWidget(save);
  row->addStretch();
  row->addWidget(sum);
  row->addWidget(fill);
  row->addWidget(ok);
  return panel;
}

bool Tform2::InitFuseMap() {
  const bool mapped = editor_.InitFuseMap();
  ShowLabels();
  ShowView();
  return mapped;
}

void Tform2::FreeFuseMap() {
  editor_.FreeFuseMap();
  ShowView();
}

bool Tform2::GAL_loadClick() {
  return editor_.GAL_loadClick();
}

void Tform2::ShowLabels() {
  square_label_->setText(QString::fromStdString(editor_.SquareText()));
  bitmap0_label_->setText(QString::fromStdString(editor_.Bitmap0Text()));
  bigmap1_label_->setText(QString::fromStdString(editor_.BigMap1Text()));
}

void Tform2::ShowView() {
  for (int r = 0; r < FuseMapEditor::kGridRows; ++r) {
    addresses_->item(r, 0)->setText(QString::fromStdString(editor_.RowAddressText(r)));
    for (int c = 0; c < FuseMapEditor::kGridColumns; ++c) {
      grid_->SetArrValue(r, c, editor_.CellValue(r, c));
    }
  }
  {
    const QSignalBlocker block_h(bar_h_);
    const QSignalBlocker block_v(bar_v_);
    bar_h_->setRange(0, BarValue(editor_.HorizontalMax()));
    bar_h_->setPageStep(editor_.HorizontalPage());
    bar_h_->setValue(BarValue(editor_.ColumnOrigin()));
    bar_v_->setRange(0, BarValue(editor_.VerticalMax()));
    bar_v_->setPageStep(editor_.VerticalPage());
    bar_v_->setValue(BarValue(editor_.RowOrigin()));
  }
  // Each focus setter reports the focus into the editor: take both first.
  const int focus_x = editor_.FocusX();
  const int focus_y = editor_.FocusY();
  grid_->SetFocusX(focus_x);
  grid_->SetFocusY(focus_y);
  grid_->DrawAll();
}

void Tform2::PalScrollBar_VScroll(int position) {
  editor_.ScrollRowsTo(position);
}

void Tform2::PalScrollBar_HScroll(int position) {
  editor_.ScrollColumnsTo(position);
}

void Tform2::PalShowBox1BarDownEvent(int, int) {
  editor_.StepRows(1);
}

void Tform2::PalShowBox1BarUpEvent(int, int) {
  editor_.StepRows(-1);
}

void Tform2::PalShowBox1Change(int x, int y, int value) {
  editor_.CellChange(x, y, value);
}

void Tform2::PalShowBox1CurrentChange(int x, int y) {
  editor_.CurrentChange(x, y);
  x_label_->setText(QString::fromStdString(editor_.PositionText()));
  jump_edit_->setText(QString::fromStdString(editor_.JumpText()));
}

void Tform2::PalShowBox1LeftEvent(int x, int y) {
  editor_.LeftEvent(x, y);
}

void Tform2::PalShowBox1RightEvent(int x, int y) {
  editor_.RightEvent(x, y);
}

void Tform2::check_sumClick() {
  editor_.ShowCheckSum(1);
}

void Tform2::GAL_Image6Click() {
  hide();
  editor_.ShowCheckSum(6);
}

void Tform2::Full_dataClick() {
  if (!editor_.HasMap()) return;
  TPalFillDataForm dialog(window());
  dialog.SetForm2(&editor_);
  dialog.exec();
  editor_.ApplyFill();
}

void Tform2::JumpEditChange(const QString& text) {
  const QString ruled = QString::fromStdString(editor_.JumpEditChange(text.toStdString()));
  if (ruled == text) return;
  jump_edit_->setText(ruled);
  jump_edit_->setCursorPosition(static_cast<int>(ruled.size()));
}

void Tform2::jump_bmpMouseUp() {
  grid_->setFocus(Qt::OtherFocusReason);
  editor_.JumpTo(jump_edit_->text().toStdString());
}

void Tform2::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), look::kSurface);
  p.setPen(look::kSurfaceBorder);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quenlet
