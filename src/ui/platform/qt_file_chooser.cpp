#include "ui/platform/qt_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

#include "ui/controls/display_text.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"
#include "ui/platform/file_dialog_icons.h"

namespace quenlet {
namespace {

// "*.bin" gives "*.bin *.BIN"; "*.*" and "*" give "*".
QStringList BothCases(const QString& patterns) {
  QStringList out;
  for (const QString& raw : patterns.split(';', Qt::SkipEmptyParts)) {
    const QString p = raw.trimmed();
    if (p.isEmpty()) continue;
    if (p == "*.*" || p == "*") {
      if (!out.contains("*")) out << "*";
      continue;
    }
    for (const QString& form : {p.toLower(), p.toUpper(), p}) {
      if (!out.contains(form)) out << form;
    }
  }
  return out;
}

// The label without its own pattern list: Qt reads the patterns from the
// parentheses, so the Windows ones would stand in for ours.
QString BareLabel(const QString& label) {
  QString l = label.trimmed();
  const qsizetype open = l.lastIndexOf('(');
  if (open > 0 && l.endsWith(')')) l = l.left(open).trimmed();
  return l;
}

// The name takes the room the other columns leave; they are as wide as
// their texts, so that no size, type or date is cut; the places beside
// them show their names whole.
void ColumnsShowWhole(QFileDialog& dialog) {
  if (auto* places = dialog.findChild<QAbstractItemView*>("sidebar")) {
    places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth() + 8);
  }
  auto* details = dialog.findChild<QTreeView*>("treeView");
  if (!details) return;
  QHeaderView* header = details->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column) {
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QStringList patterns = BothCases(parts[i + 1]);
    if (patterns.isEmpty()) continue;
    filters << BareLabel(parts[i]) + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

std::unique_ptr<QFileDialog> MakeFileDialog(const FileDialogRequest& request, bool save,
                                            QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, QString::fromStdString(request.title));
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  UseDrawnIcons(*dialog);
  ColumnsShowWhole(*dialog);
  FrameWindow(dialog.get());
  dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save || !request.must_exist ? QFileDialog::AnyFile
                                                  : QFileDialog::ExistingFile);
  // Without CaseSensitive the listing matches "*.bin" to "DATA.Bin" too.
  dialog->setFilter((dialog->filter() & ~QDir::CaseSensitive) | QDir::AllEntries |
                    QDir::NoDotAndDotDot);
  const QStringList filters = QtNameFilters(request.filter);
  if (!filters.isEmpty()) dialog->setNameFilters(filters);
  if (!request.initial_dir.empty()) {
    dialog->setDirectory(DisplayText(request.initial_dir));
  }
  if (!request.initial_name.empty()) dialog->selectFile(DisplayText(request.initial_name));
  if (!request.default_extension.empty()) {
    dialog->setDefaultSuffix(QString::fromStdString(request.default_extension));
  }
  return dialog;
}

std::string QtFileChooser::ChooseOpen(const FileDialogRequest& request) {
  return Run(request, false);
}

std::string QtFileChooser::ChooseSave(const FileDialogRequest& request) {
  return Run(request, true);
}

std::string QtFileChooser::Run(const FileDialogRequest& request, bool save) {
  const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(request, save, parent_);
  const WindowPlacement over = WindowPlacement::OverMainWindow(parent_);
  const QSize wanted =
      last_size_.isValid() ? last_size_ : kFirstSize.expandedTo(dialog->sizeHint());
  dialog->resize(wanted.boundedTo(PlacementWorkArea(over).size()));
  PlaceWindow(*dialog, over);
  const bool chosen = dialog->exec() == QDialog::Accepted;
  last_size_ = dialog->size();
  const QStringList files = dialog->selectedFiles();
  return chosen && !files.isEmpty() ? TypedBytes(files.front()) : std::string();
}

}  // namespace quenlet
