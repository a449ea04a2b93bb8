#pragma once
// The Project page's list of the projects in Project.ini: one read-only row
// per project (manufacturer, part, data file, steps) with grid lines; a
// double click opens the project. The page is hidden in this layout.
#include <QTableWidget>

namespace quenlet {

class Application;
class Projects;

class TProjectList : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kColumnWidths[] = {120, 138, 132, 120};

  TProjectList(Application& app, Projects& projects, QWidget* parent = nullptr);
  ~TProjectList() override;

  // Fills the rows from the projects' list.
  void Refill();
  // Opens the selected project, through the shell's busy gate.
  void ListView1DblClick();

 private:
  Application& app_;
  Projects& projects_;
};

}  // namespace quenlet
