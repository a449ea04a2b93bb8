#include "ui/device/select_ic_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStringListModel>
#include <QVBoxLayout>

#include "ui/controls/dialog_look.h"
#include "ui/controls/display_text.h"
#include "ui/controls/look.h"
#include "ui/controls/window_frame.h"

namespace quenlet {
namespace {

constexpr int kWidth = 531;
constexpr int kHeight = 363;

QStringList ShownList(const std::vector<std::string>& names) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(names.size()));
  for (const std::string& name : names) list.append(DisplayText(name));
  return list;
}

QLineEdit* MakeReadOnlyEdit(const char* name, const char* accessible_name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setAccessibleName(accessible_name);
  edit->setReadOnly(true);
  return edit;
}

QListView* MakeList(const char* name, const char* accessible_name, QStringListModel* model,
                    QWidget* parent) {
  auto* list = new QListView(parent);
  list->setObjectName(name);
  list->setAccessibleName(accessible_name);
  list->setModel(model);
  list->setUniformItemSizes(true);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

QLabel* MakePreviewLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAccessibleDescription(name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void SetTextIfDifferent(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

}  // namespace

GlyphButton::GlyphButton(Glyph glyph, const QString& text, QWidget* parent)
    : QPushButton(text, parent), glyph_(glyph) {
  setAccessibleName(text.trimmed());
  setMinimumWidth(96);
}

void GlyphButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  // The text is centred; its leading blanks are the glyph's room.
  const QString label = text();
  qsizetype blanks = 0;
  while (blanks < label.size() && label[blanks] == ' ') ++blanks;
  if (blanks == 0) return;
  const QFontMetrics metrics(font());
  const int text_width = metrics.horizontalAdvance(label);
  const int room = metrics.horizontalAdvance(label.left(blanks));
  const int left = (width() - text_width) / 2;
  const int side = std::min(12, room - 4);
  if (side <= 4) return;
  const QRectF box(left + (room - side) / 2.0 - 2, (height() - side) / 2.0, side, side);

  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool check = glyph_ == Glyph::Check;
  QColor colour = check ? look::kPass : look::kFail;
  if (!isEnabled()) colour = look::kDisabled;
  painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath path;
  if (check) {
    path.moveTo(box.left(), box.center().y());
    path.lineTo(box.left() + box.width() * 0.4, box.bottom() - 1);
    path.lineTo(box.right(), box.top() + 1);
  } else {
    path.moveTo(box.topLeft());
    path.lineTo(box.bottomRight());
    path.moveTo(box.topRight());
    path.lineTo(box.bottomLeft());
  }
  painter.drawPath(path);
}

TSelectICDialog::TSelectICDialog(SelectIcEnv env, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), logic_(env) {
  setObjectName("SelectICDialog");
  setWindowTitle("Select Device");
  setModal(true);
  setFixedSize(kWidth, kHeight);
  Build();
  logic_.SetCloseHandler([this] { QDialog::done(QDialog::Rejected); });
  logic_.FormCreate();
  // The manufacturer list and the history are filled at creation only.
  makers_->setStringList(ShownList(logic_.Manufacturers()));
  const HistoryCombo& history = logic_.History();
  for (const std::string& item : history.items) hist_box_->addItem(DisplayText(item));
  hist_box_->lineEdit()->setText(DisplayText(history.text));
  logic_.SetChangeHandler([this] { Push(); });
  Push();
  FrameWindow(this);
}

void TSelectICDialog::Build() {
  ApplyDialogLook(this);

  hist_box_ = new QComboBox(this);
  hist_box_->setObjectName("HistCBox");
  hist_box_->setAccessibleName("History");
  hist_box_->setEditable(true);
  hist_box_->setInsertPolicy(QComboBox::NoInsert);
  hist_box_->lineEdit()->setReadOnly(true);
  // Chosen with the mouse only: every key is dropped.
  hist_box_->installEventFilter(this);
  hist_box_->lineEdit()->installEventFilter(this);
  auto* hist_label = new QLabel("History", this);
  hist_label->setBuddy(hist_box_);

  manu_edit_ = MakeReadOnlyEdit("ManuEdit", "Manufacturer", this);
  ic_type_edit_ = MakeReadOnlyEdit("IcTypeEdit", "Part number", this);
  manu_edit_->installEventFilter(this);
  ic_type_edit_->installEventFilter(this);
  makers_ = new QStringListModel(this);
  parts_ = new QStringListModel(this);
  maker_list_ = MakeList("MaunListBox", "Manufacturers", makers_, this);
  part_list_ = MakeList("NumListBox", "Part numbers", parts_, this);

  auto* preview = new QFrame(this);
  preview->setObjectName("PreviewPanel");
  preview->setFrameShape(QFrame::StyledPanel);
  pin_ = MakePreviewLabel("PinLabel", preview);
  size_ = MakePreviewLabel("SizeLabel", preview);
  vcc_ = MakePreviewLabel("VCCLabel", preview);
  vcp_ = MakePreviewLabel("VCPLabel", preview);
  vpp_ = MakePreviewLabel("VPPLabel", preview);
  web_ = MakeDialogButton("ConnetWEBBitBtn", "Connect To Web", preview);
  web_->setToolTip(kInitialWebHint);
  auto* preview_layout = new QVBoxLayout(preview);
  preview_layout->setContentsMargins(10, 8, 10, 10);
  preview_layout->setSpacing(6);
  for (QLabel* label : {pin_, size_, vcc_, vcp_, vpp_}) preview_layout->addWidget(label);
  preview_layout->addStretch();
  preview_layout->addWidget(web_);

  auto* ids_panel = new QFrame(this);
  ids_panel->setObjectName("D_CodePanel");
  ids_panel->setFrameShape(QFrame::StyledPanel);
  ids_ = MakePreviewLabel("D_CodeLabel", ids_panel);
  ids_->setFont(look::HexFont());
  auto* ids_layout = new QHBoxLayout(ids_panel);
  ids_layout->setContentsMargins(6, 4, 6, 4);
  ids_layout->addWidget(ids_);

  note_ = MakePreviewLabel("NoteLabel", this);
  note_->setWordWrap(true);
  note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  ok_ = new GlyphButton(GlyphButton::Glyph::Check, "     OK", this);
  ok_->setObjectName("OKBtn");
  cancel_ = new GlyphButton(GlyphButton::Glyph::Cross, "     Cancel", this);
  cancel_->setObjectName("CancelBtn");
  // Enter is OK, as a double click on a part is; without a default Qt would
  // take the first button, the maker's document.
  ok_->setDefault(true);

  // The picture box is part of the form but hidden and disabled there.
  panel5_ = new QFrame(this);
  panel5_->setObjectName("Panel5");
  image_ = new QLabel(panel5_);
  image_->setObjectName("Image1");
  panel5_->hide();
  panel5_->setEnabled(false);
  image_->setEnabled(false);

  auto* top = new QHBoxLayout;
  top->setSpacing(8);
  top->addWidget(hist_label);
  top->addWidget(hist_box_, 1);

  auto* lists = new QGridLayout;
  lists->setHorizontalSpacing(8);
  lists->setVerticalSpacing(4);
  lists->addWidget(manu_edit_, 0, 0);
  lists->addWidget(ic_type_edit_, 0, 1);
  lists->addWidget(maker_list_, 1, 0);
  lists->addWidget(part_list_, 1, 1);
  lists->addWidget(preview, 0, 2, 2, 1);
  lists->setColumnStretch(0, 1);
  lists->setColumnStretch(1, 1);
  preview->setFixedWidth(168);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(8);
  bottom->addWidget(note_, 1);
  bottom->addWidget(ok_, 0, Qt::AlignBottom);
  bottom->addWidget(cancel_, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(8);
  layout->addLayout(top);
  layout->addLayout(lists, 1);
  layout->addWidget(ids_panel);
  layout->addLayout(bottom);

  connect(hist_box_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    if (index >= 0) logic_.HistCBoxChange(static_cast<size_t>(index));
  });
  // A click, or a move with the keys or the list's own type-ahead search.
  connect(maker_list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!pushing_ && current.isValid()) {
              logic_.MaunListBoxClick(static_cast<size_t>(current.row()));
            }
          });
  connect(part_list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!pushing_ && current.isValid()) {
              logic_.NumListBoxClick(static_cast<size_t>(current.row()));
            }
          });
  connect(part_list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) logic_.NumListBoxDblClick(static_cast<size_t>(index.row()));
  });
  connect(ok_, &QPushButton::clicked, this, &TSelectICDialog::OKBtnClick);
  connect(cancel_, &QPushButton::clicked, this, &TSelectICDialog::CancelBtnClick);
  connect(web_, &QPushButton::clicked, this, [this] { logic_.ConnetWEBBitBtnClick(); });
}

int TSelectICDialog::Exec() {
  logic_.BeforeShow();
  Push();
  return exec();
}

void TSelectICDialog::Select(QListView* list, std::optional<size_t> row) {
  QItemSelectionModel* selection = list->selectionModel();
  if (!row) {
    selection->clear();
    return;
  }
  const QModelIndex index = list->model()->index(static_cast<int>(*row), 0);
  if (selection->currentIndex() != index || !selection->isSelected(index)) {
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  }
  list->scrollTo(index);
}

void TSelectICDialog::Push() {
  pushing_ = true;
  if (shown_part_list_ != logic_.PartListVersion()) {
    parts_->setStringList(ShownList(logic_.Parts()));
    shown_part_list_ = logic_.PartListVersion();
  }
  Select(maker_list_, logic_.SelectedManufacturer());
  Select(part_list_, logic_.SelectedPart());
  SetTextIfDifferent(manu_edit_, DisplayText(logic_.ManuEditText()));
  SetTextIfDifferent(ic_type_edit_, DisplayText(logic_.IcTypeEditText()));

  const DevicePreviewTexts& p = logic_.Preview();
  pin_->setText(DisplayText(p.pin));
  size_->setText(DisplayText(p.size));
  vcc_->setText(DisplayText(p.vcc));
  vcp_->setText(DisplayText(p.vcp));
  vpp_->setText(DisplayText(p.vpp));
  ids_->setText(DisplayText(p.ids));
  note_->setText(DisplayText(p.note));
  web_->setEnabled(logic_.WebEnabled());
  web_->setToolTip(DisplayText(logic_.WebHint()));

  if (logic_.PicturePath() != shown_picture_) {
    shown_picture_ = logic_.PicturePath();
    QPixmap picture;
    if (shown_picture_ && picture.load(QString::fromStdString(*shown_picture_))) {
      image_->setPixmap(picture);
    }
  }
  pushing_ = false;
}

void TSelectICDialog::OKBtnClick() {
  logic_.OKBtnClick();
}

void TSelectICDialog::CancelBtnClick() {
  logic_.CancelBtnClick();
}

void TSelectICDialog::reject() {
  // Escape and the window's close are Cancel: the callers go by
  // DialogCancelled, which only Cancel sets.
  logic_.CancelBtnClick();
}

bool TSelectICDialog::eventFilter(QObject* watched, QEvent* event) {
  const bool history = watched == hist_box_ || watched == hist_box_->lineEdit();
  if (history && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        // Focus moves on, so the keyboard is never caught in the box.
        return false;
      case Qt::Key_Escape:
      case Qt::Key_Return:
      case Qt::Key_Enter:
        // The dialog's own keys: Cancel and OK.
        QDialog::keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
      default:
        return true;
    }
  }
  if (history && event->type() == QEvent::KeyRelease) return true;
  if (event->type() == QEvent::FocusOut) {
    if (watched == manu_edit_) logic_.ManuEditExit();
    if (watched == ic_type_edit_) logic_.IcTypeEditExit();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace quenlet
