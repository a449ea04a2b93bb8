#include "app/create_page.h"

#include "app/application.h"
#include "app/project_file.h"
#include "platform/ini_file.h"

namespace quenlet {
namespace {

constexpr const char* kTempSection = "Temp";

void WriteTemp(const Application& app, const IniBatch& batch) {
  IniFile(ProjectFilePath(app.paths())).Write(batch);
}

}  // namespace

CreatePage::CreatePage(Application& app, CreatePageDialog& dialog) : app_(app), dialog_(dialog) {
  app_.commands().create_type = [this] { Button14Click(); };
}

CreatePage::~CreatePage() {
  app_.commands().create_type = nullptr;
}

bool CreatePage::TakeChoice() {
  if (app_.device().DialogCancelled != 0) return false;
  const auto [manufacturer, part] = dialog_.Texts();
  app_.SetSelectedType(manufacturer, part);
  app_.FollowChosenDevice();
  return true;
}

void CreatePage::CreateTypeBtnClick() {
  dialog_.ShowModal(CreatePageDialog::Place::kCreatePanel);
  if (!TakeChoice()) return;
  IniBatch batch;
  batch.WriteString(kTempSection, "Vendor", app_.SelectedType()[0]);
  batch.WriteString(kTempSection, "ID", app_.SelectedType()[1]);
  WriteTemp(app_, batch);
}

void CreatePage::Image14Click() {
  dialog_.ShowModal(CreatePageDialog::Place::kCopyPanel);
  if (app_.device().DialogCancelled != 0) return;
  app_.loader().LoadIcParameters(0, 0, 0);
  const SelectedDevice& device = app_.device();
  if (device.IC_Information1 != "None") app_.messages().Show(device.IcInformationText);
  TakeChoice();
}

void CreatePage::CopyTypeBtnClick() {
  dialog_.ShowModal(CreatePageDialog::Place::kCopyPanel);
  TakeChoice();
}

void CreatePage::CreateLoadBtnClick() {
  OpenCreateDataFile(app_, std::nullopt, false);
}

void CreatePage::Image15Click() {
  OpenCreateDataFile(app_, std::nullopt, true);
}

void OpenCreateDataFile(Application& app, const std::optional<std::string>& data_file,
                        bool show_edit) {
  app.Button4Click(data_file);
  if (show_edit) app.EditClick();
  IniBatch batch;
  batch.WriteString(kTempSection, "Source", app.LoadPathText());
  WriteTemp(app, batch);
}

}  // namespace quenlet
