#include "ui/app/project_new.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>

#include "ui/controls/dialog_look.h"
#include "ui/controls/display_text.h"
#include "ui/controls/frame_band.h"
#include "ui/controls/look.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

constexpr int kTitleHeight = 36;
constexpr int kRows = 10;
constexpr int kRowHeight = 24;

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  return item;
}

}  // namespace

Tproject_new::Tproject_new(QWidget* main_window)
    : QDialog(main_window, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("project_new");
  setWindowTitle(QStringLiteral("Project"));
  ApplyDialogLook(this);
  setFixedSize(kSize);

  auto* title = new FrameBand("Project_Title", QStringLiteral("Project"), look::TitleFont(),
                              look::kFrameText, this);
  title->setGeometry(1, 1, kSize.width() - 2, kTitleHeight);

  grid_ = new QTableWidget(kRows, 4, this);
  grid_->setObjectName("StringGrid1");
  grid_->setAccessibleName(QStringLiteral("Projects"));
  grid_->setHorizontalHeaderLabels({QStringLiteral("Device"), QStringLiteral("Source"),
                                    QStringLiteral("Mode"), QStringLiteral("No.")});
  grid_->horizontalHeader()->setFont(look::CaptionFont());
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setFixedHeight(kRowHeight);
  for (int c = 0; c < 4; ++c) grid_->setColumnWidth(c, kColumnWidths[c]);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setWordWrap(false);
  const int grid_width = kColumnWidths[0] + kColumnWidths[1] + kColumnWidths[2] + kColumnWidths[3];
  grid_->setGeometry((kSize.width() - grid_width - 2) / 2, kTitleHeight + 9, grid_width + 2,
                     (kRows + 1) * kRowHeight + 2);
  connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column == kModeColumn) ToggleMode(row);
  });
  connect(grid_, &QTableWidget::itemSelectionChanged, this, &Tproject_new::SelectionChanged);
  // Space switches the mode from the keyboard.
  grid_->installEventFilter(this);

  ok_ = MakeDialogButton("ok_b", "Execute", this);
  create_ = MakeDialogButton("create_b", "Create", this);
  delete_ = MakeDialogButton("delete_b", "Delete", this);
  // Making and removing projects is done in Project.ini itself.
  create_->setEnabled(false);
  delete_->setEnabled(false);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &Tproject_new::ok_bClick);
  auto* bottom = new QWidget(this);
  bottom->setObjectName("Project_Bottom");
  const int bottom_top = grid_->geometry().bottom() + 1;
  bottom->setGeometry(1, bottom_top, kSize.width() - 2, kSize.height() - 1 - bottom_top);
  auto* row = new QHBoxLayout(bottom);
  row->setContentsMargins(grid_->x() - 1, 0, grid_->x() - 1, 0);
  row->setSpacing(8);
  row->addWidget(create_);
  row->addWidget(delete_);
  row->addStretch();
  row->addWidget(ok_);

  FrameWindow(this);
}

void Tproject_new::Fill(const std::vector<ProjectRecord>& projects) {
  projects_ = static_cast<int>(std::min<size_t>(projects.size(), kRows));
  grid_->clearContents();
  for (int r = 0; r < projects_; ++r) {
    const ProjectRecord& p = projects[static_cast<size_t>(r)];
    grid_->setItem(r, 0, Cell(DisplayText(p.vendor) + QStringLiteral("  ") + DisplayText(p.id)));
    grid_->setItem(r, 1, Cell(DisplayText(ProjectOpeningOf(p).load_path)));
    QTableWidgetItem* mode = Cell(QString::fromUtf8(Projects::kOnce), Qt::AlignHCenter);
    grid_->setItem(r, kModeColumn, mode);
    grid_->setItem(r, 3, Cell(QString::number(r + 1), Qt::AlignHCenter));
  }
  if (projects_ > 0) {
    grid_->selectRow(0);
  } else {
    grid_->clearSelection();
  }
  SelectionChanged();
}

std::optional<std::string> Tproject_new::ShowModal(const std::vector<ProjectRecord>& projects) {
  Fill(projects);
  // Where the main window is now: the window lives for the whole run.
  PlaceWindow(*this, WindowPlacement::AtOffset(parentWidget(), kOffset));
  if (exec() != QDialog::Accepted) return std::nullopt;
  return SelectedMode();
}

std::optional<std::string> Tproject_new::SelectedMode() const {
  const int row = grid_->currentRow();
  if (row < 0 || row >= projects_ || !grid_->item(row, kModeColumn)->isSelected()) {
    return std::nullopt;
  }
  return grid_->item(row, kModeColumn)->text().toStdString();
}

void Tproject_new::ToggleMode(int row) {
  if (row < 0 || row >= projects_) return;
  QTableWidgetItem* mode = grid_->item(row, kModeColumn);
  const bool once = mode->text() == QString::fromUtf8(Projects::kOnce);
  mode->setText(QString::fromUtf8(once ? Projects::kBatch : Projects::kOnce));
}

void Tproject_new::ok_bClick() {
  if (!SelectedMode()) return;
  accept();
}

void Tproject_new::SelectionChanged() {
  ok_->setEnabled(SelectedMode().has_value());
}

bool Tproject_new::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
    ToggleMode(grid_->currentRow());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace quenlet
