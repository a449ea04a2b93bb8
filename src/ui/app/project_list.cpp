#include "ui/app/project_list.h"

#include <QHeaderView>

#include "app/application.h"
#include "app/projects.h"
#include "ui/controls/display_text.h"
#include "ui/controls/look.h"

namespace quenlet {

TProjectList::TProjectList(Application& app, Projects& projects, QWidget* parent)
    : QTableWidget(0, 4, parent), app_(app), projects_(projects) {
  setObjectName("ListView1");
  setAccessibleName(QStringLiteral("Projects"));
  setFont(look::LabelFont());
  setHorizontalHeaderLabels({QStringLiteral("Vendor"), QStringLiteral("Type"),
                             QStringLiteral("Source"), QStringLiteral("Process")});
  horizontalHeader()->setFont(look::CaptionFont());
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  for (int c = 0; c < 4; ++c) setColumnWidth(c, kColumnWidths[c]);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(22);
  setShowGrid(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  connect(this, &QTableWidget::cellDoubleClicked, this, [this] { ListView1DblClick(); });
  projects_.SetChangeHandler([this] { Refill(); });
  Refill();
}

TProjectList::~TProjectList() {
  projects_.SetChangeHandler(nullptr);
}

void TProjectList::Refill() {
  const std::vector<ProjectRecord>& list = projects_.List();
  clearContents();
  setRowCount(static_cast<int>(list.size()));
  for (int r = 0; r < rowCount(); ++r) {
    const ProjectRecord& p = list[static_cast<size_t>(r)];
    const std::string* cells[] = {&p.vendor, &p.id, &p.source, &p.prog};
    for (int c = 0; c < 4; ++c) setItem(r, c, new QTableWidgetItem(DisplayText(*cells[c])));
  }
}

void TProjectList::ListView1DblClick() {
  const int row = currentRow();
  if (row < 0) return;
  // From the event loop, so that a press from outside does not wait for the
  // load dialog the open shows.
  QMetaObject::invokeMethod(
      this,
      [this, row] {
        app_.RunCommand([this, row] { projects_.ListView1DblClick(static_cast<size_t>(row)); });
      },
      Qt::QueuedConnection);
}

}  // namespace quenlet
