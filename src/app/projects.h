#pragma once
// The projects of Project.ini: the list the Project page shows, opening one
// (its device, its steps, its data file) and running the ticked steps once
// or as a batch from the project window. The Project page and its buttons
// are hidden in this layout; these are what they do when reached.
//
// One object for the whole run, made before the main window (which fills
// the list when it is created): it installs the shell commands
// load_project_list and projects, and takes them back when it goes.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/project_file.h"

namespace quenlet {

class Application;

// The project window: the projects as rows, a run mode per row, Execute.
class ProjectWindow {
 public:
  virtual ~ProjectWindow() = default;
  // Shows the window modally. The run mode of the row chosen with Execute
  // ("Once" or "Batch"), or nullopt when the operator left without running.
  virtual std::optional<std::string> ShowModal(const std::vector<ProjectRecord>& projects) = 0;
};

class Projects {
 public:
  static constexpr const char* kOnce = "Once";
  static constexpr const char* kBatch = "Batch";

  explicit Projects(Application& app);
  ~Projects();
  Projects(const Projects&) = delete;
  Projects& operator=(const Projects&) = delete;

  // The window the run shows; null: the run does nothing.
  void SetWindow(ProjectWindow* window) { window_ = window; }
  // Called after the list changed.
  void SetChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  // Reads the list from Project.ini (empty when there is none).
  void LoadProjectList();
  const std::vector<ProjectRecord>& List() const { return list_; }

  // Opens the project of list row `row` (none selected: nothing). The
  // device comes first: a part the catalogue does not lead to an existing
  // device file is reported and nothing changes. Then the device label,
  // the load path, the run boxes, the Copy page, and the load dialog on the
  // project's data file; the Edit page shows what was loaded.
  void ListView1DblClick(std::optional<size_t> row);

  // Selects the device: History_1.ini [SelectDlg], the recent-device ring,
  // the device record and the step pictures. False (after its message, with
  // nothing written) when the part leads to no device file or the choice
  // cannot be stored.
  bool OpenProjectDevice(const std::string& manufacturer, const std::string& part);

  // The project window; unless the operator leaves it, the programmer is
  // configured, the checksum field shows the device's sum (the programmer's
  // own, with its option block, for a device whose programmer keeps the
  // data) and the chosen mode runs the ticked steps.
  void ProjectBtnClick();

 private:
  // Opens the project's data file (its stored path resolved) as the
  // Create page's load picture does.
  void OpenDataFile(const std::optional<std::string>& data_file);
  // The ticked steps, once or as a batch; any other mode runs nothing.
  void RunMode(const std::string& mode);
  void Changed() {
    if (changed_) changed_();
  }

  Application& app_;
  ProjectWindow* window_ = nullptr;
  std::function<void()> changed_;
  std::vector<ProjectRecord> list_;
};

}  // namespace quenlet
