#pragma once
// The project window: the projects of Project.ini as rows, each with its
// run mode, Once or Batch (a click on the mode, or Space, switches it), and
// Execute, which runs the selected row's mode. Leaving the window any other
// way (Escape, closing it) runs nothing. A frameless dialog at the main
// window's top + 54 and left + 96.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "app/projects.h"

class QPushButton;
class QTableWidget;

namespace quenlet {

class Tproject_new : public QDialog, public ProjectWindow {
  Q_OBJECT

 public:
  static constexpr QSize kSize{537, 377};
  static constexpr QPoint kOffset{96, 54};
  // The layout's 249, 209, 32 and 31 in the same width, with the mode
  // column wide enough to read "Batch".
  static constexpr int kColumnWidths[] = {233, 193, 64, 31};
  static constexpr int kModeColumn = 2;

  explicit Tproject_new(QWidget* main_window);

  // ProjectWindow
  std::optional<std::string> ShowModal(const std::vector<ProjectRecord>& projects) override;

  // Fills the rows (every mode "Once") and selects the first project.
  void Fill(const std::vector<ProjectRecord>& projects);
  QTableWidget* StringGrid1() const { return grid_; }
  QPushButton* Execute() const { return ok_; }
  // The window was left without running: only Execute accepts it.
  bool CancelFlag() const { return result() != QDialog::Accepted; }
  // The selected row's mode, when it holds a project.
  std::optional<std::string> SelectedMode() const;

 public slots:
  void ok_bClick();
  // Switches the mode of a project row between Once and Batch.
  void ToggleMode(int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SelectionChanged();

  QTableWidget* grid_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* create_ = nullptr;
  QPushButton* delete_ = nullptr;
  int projects_ = 0;
};

}  // namespace quenlet
