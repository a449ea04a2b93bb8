#include "app/projects.h"

#include "app/application.h"
#include "app/create_page.h"
#include "app/run_sequences.h"
#include "device/catalogue.h"
#include "device/device_history.h"
#include "device/section_list.h"
#include "device/select_ic_logic.h"
#include "programmer/held_data_sum.h"
#include "programmer/operation_frame.h"
#include "programmer/run_controls.h"
#include "programmer/uploads.h"

namespace quenlet {

Projects::Projects(Application& app) : app_(app) {
  app_.commands().load_project_list = [this] { LoadProjectList(); };
  app_.commands().projects = [this] { ProjectBtnClick(); };
}

Projects::~Projects() {
  app_.commands().load_project_list = nullptr;
  app_.commands().projects = nullptr;
}

void Projects::LoadProjectList() {
  list_ = ReadProjectRecords(ProjectFilePath(app_.paths()));
  Changed();
}

bool Projects::OpenProjectDevice(const std::string& manufacturer, const std::string& part) {
  MainFormState& state = app_.state();
  const ProgramPaths& paths = app_.paths();
  // The part is looked up before anything is stored: a project naming a
  // part the catalogue does not know must not become the remembered device.
  const std::optional<std::string> ic_path =
      ChosenDeviceFile(paths, state, CataloguePath(paths), ShortString(manufacturer),
                       ShortString(part), app_.messages());
  if (!ic_path || !RecordDeviceChoice(state, manufacturer, part, *ic_path, app_.messages())) {
    return false;
  }

  // The ring keeps the project's device, not the device dialog's last choice.
  DeviceHistoryRing(paths).Add(manufacturer, part);

  StepPictures& view = app_.pictures();
  view.Enable(Control::Panel7, true);
  view.Enable(Control::CopyReadBtn, true);
  SelectedDevice& device = app_.device();
  device.KeepIcIniPath = 1;
  device.IcIniPath = *ic_path;
  device.SelectedIcIniPath = *ic_path;
  app_.loader().LoadIcParameters(0, 0, 0);
  // A project's fuse device needs its own map, as after the device dialog.
  app_.FollowChosenDevice();

  state.VerifyMode = 0;
  state.SetDataSetMode(0);
  state.RunReady = 1;
  state.ProgrammerHasData = 0;
  view.EnableBox(RunBox::check_confirm, true);
  RefreshStepButtons(app_.operations(), 2);
  return true;
}

void Projects::ListView1DblClick(std::optional<size_t> row) {
  if (!row || *row >= list_.size()) return;
  const ProjectRecord project = list_[*row];
  // The device before the file: the load dialog works for the chosen device.
  if (!OpenProjectDevice(project.vendor, project.id)) return;
  app_.SetSelectedType(project.vendor, project.id);

  const ProjectOpening opening = ProjectOpeningOf(project);
  app_.SetLoadPathText(opening.load_path);
  if (opening.steps) app_.TickStepBoxes(ProjectStepTicks(*opening.steps));
  app_.state().ProjectActive = 1;
  app_.CopyBtnClick();
  OpenDataFile(opening.data_file);
  app_.pictures().Show(Indicator::Multi);
  app_.pictures().Show(Indicator::Multi_Hint);
  app_.state().UserVoltageOn = 0;
}

void Projects::OpenDataFile(const std::optional<std::string>& data_file) {
  std::optional<std::string> file;
  if (data_file) file = ProjectDataFile(app_.paths(), *data_file);
  OpenCreateDataFile(app_, file, true);
}

void Projects::ProjectBtnClick() {
  if (!window_) return;
  const std::optional<std::string> mode = window_->ShowModal(list_);
  if (!mode) return;

  OperationContext& ctx = app_.operations();
  ReopenAndConfigure(app_.link());
  if (app_.device().Option_Fuse_Type == 1) {
    PutReadVoltages(ctx);
    const HeldSumResult held = RunHeldDataSum(ctx, true);
    // The unit holds the data once the upload went through, whatever
    // failed after it; a refused or failed upload leaves it as it was.
    if (held != HeldSumResult::Refused && held != HeldSumResult::UploadFailed) {
      app_.state().ProgrammerHasData = 1;
    }
    if (held != HeldSumResult::Done) return;
  } else {
    const uint32_t sum =
        app_.buffer().GetCheckSum(0, static_cast<int64_t>(app_.device().IcDeviceSize) - 1, 0,
                                  app_.messages(), app_.progress());
    ShowSumAgainstLast(ctx, sum);
  }
  RunMode(*mode);
}

void Projects::RunMode(const std::string& mode) {
  if (mode == kOnce) {
    RunOnceSequence(app_);
  } else if (mode == kBatch) {
    RunBatchSequence(app_);
  }
}

}  // namespace quenlet
