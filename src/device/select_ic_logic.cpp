#include "device/select_ic_logic.h"

#include <algorithm>
#include <filesystem>

#include "device/ic_ini_loader.h"
#include "device/selected_device.h"
#include "platform/document_opener.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"
#include "state/main_form_state.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

constexpr const char* kSelectDlg = "SelectDlg";

std::optional<size_t> IndexOf(const std::vector<std::string>& items, const std::string& text) {
  const auto it = std::find(items.begin(), items.end(), text);
  if (it == items.end()) return std::nullopt;
  return static_cast<size_t>(it - items.begin());
}

// A path as the operator reads it in a message.
std::string Shown(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

std::optional<std::string> ChosenDeviceFile(const ProgramPaths& paths, const MainFormState& state,
                                            const std::string& select_ini,
                                            const std::string& manufacturer,
                                            const std::string& part, Messages& messages) {
  const std::string ic_path =
      state.ProgramDir + "INI\\" + OkDeviceFile(select_ini, manufacturer, part);
  const std::string problem = DeviceFileProblem(paths, ic_path);
  if (problem.empty()) return ic_path;
  messages.Box(problem, kErrorCaption, MessageButtons::Ok, MessageIcon::Stop);
  return std::nullopt;
}

bool RecordDeviceChoice(const MainFormState& state, const std::string& manufacturer,
                        const std::string& part, const std::string& ic_path, Messages& messages) {
  IniBatch batch;
  batch.WriteString(kSelectDlg, "Manufacturer", manufacturer);
  batch.WriteString(kSelectDlg, "TypeNum", part);
  batch.WriteString(kSelectDlg, "IcFileName", ic_path);
  batch.WriteString(kSelectDlg, "OK", "1");
  batch.WriteString(kSelectDlg, "ISPmode", "0");
  if (IniFile(state.HistoryIniFile).Write(batch)) return true;
  messages.Box(strprintf(kCannotWriteFileFormat, state.HistoryIniFile.c_str()), kErrorCaption,
               MessageButtons::Ok, MessageIcon::Stop);
  return false;
}

SelectIcDialogLogic::SelectIcDialogLogic(SelectIcEnv env)
    : env_(env), catalogue_(env.paths), ring_(env.paths), documents_(env.paths) {}

void SelectIcDialogLogic::FormCreate() {
  history_ = ring_.Combo();
  RestoreLastSelection();
  ShowManufacturerPicture();
  Changed();
}

void SelectIcDialogLogic::BeforeShow() {
  catalogue_.Refresh();
  if (catalogue_.Readable()) return;
  const bool missing = !std::filesystem::exists(catalogue_.path());
  env_.messages.Box(strprintf(missing ? kCatalogueMissingFormat : kCatalogueUnreadableFormat,
                              Shown(catalogue_.path()).c_str()),
                    kErrorCaption, MessageButtons::Ok, MessageIcon::Stop);
}

void SelectIcDialogLogic::FillManufacturerList() {
  manufacturers_ = catalogue_.Manufacturers();
  selected_manufacturer_.reset();
}

void SelectIcDialogLogic::FillPartList() {
  parts_ = catalogue_.Parts(chosen_manufacturer_);
  ++part_list_version_;
  selected_part_.reset();
}

void SelectIcDialogLogic::RestoreLastSelection() {
  const std::optional<DeviceChoice> last = SplitHistoryEntry(ring_.Last(), catalogue_);
  if (!last) {
    chosen_manufacturer_ = kDefaultManufacturer;
    FillManufacturerList();
    FillPartList();
    SetManuEdit(kDefaultManufacturer);
    return;
  }
  chosen_manufacturer_ = last->manufacturer;
  FillManufacturerList();
  SetManuEdit(last->manufacturer);
  SetIcTypeEdit(last->part);
}

void SelectIcDialogLogic::SetManuEdit(const std::string& text) {
  if (text == manu_edit_) return;
  manu_edit_ = text;
  ManuEditChange();
}

void SelectIcDialogLogic::SetIcTypeEdit(const std::string& text) {
  if (text == ic_type_edit_) return;
  ic_type_edit_ = text;
  IcTypeEditChange();
}

void SelectIcDialogLogic::ManuEditChange() {
  if (const std::optional<size_t> found = IndexOf(manufacturers_, manu_edit_)) {
    selected_manufacturer_ = found;
    chosen_manufacturer_ = manu_edit_;
    FillPartList();
    SelectFirstPart();
  }
  ShowManufacturerDocument();
}

void SelectIcDialogLogic::IcTypeEditChange() {
  if (const std::optional<size_t> found = IndexOf(parts_, ic_type_edit_)) {
    selected_part_ = found;
    chosen_part_ = ic_type_edit_;
  }
  ShowDevicePreview();
}

void SelectIcDialogLogic::SelectFirstPart() {
  if (parts_.empty()) {
    // A manufacturer without parts: nothing to choose and nothing to preview.
    selected_part_.reset();
    ic_type_edit_.clear();
    chosen_part_.clear();
    preview_ = DevicePreviewTexts{};
    return;
  }
  selected_part_ = 0;
  // Run the edit's change even when the text stays: another manufacturer's
  // part of the same name has a file of its own.
  ic_type_edit_ = parts_[0];
  IcTypeEditChange();
}

void SelectIcDialogLogic::ShowDevicePreview() {
  if (parts_.empty()) return;
  const std::string file = catalogue_.PartFile(chosen_manufacturer_, chosen_part_);
  if (std::optional<DevicePreviewTexts> texts = ReadDevicePreview(env_.paths, file)) {
    preview_ = std::move(*texts);
  }
}

void SelectIcDialogLogic::ShowManufacturerPicture() {
  if (std::optional<std::string> path = ManufacturerPicturePath(env_.paths, chosen_manufacturer_)) {
    picture_ = std::move(path);
  }
}

void SelectIcDialogLogic::ShowManufacturerDocument() {
  const std::string document = documents_.Find(chosen_manufacturer_);
  web_enabled_ = document != kNoDocument;
  web_hint_ = document;
}

void SelectIcDialogLogic::MaunListBoxClick(size_t index) {
  if (index >= manufacturers_.size()) return;
  // The part list reads the catalogue as it is now.
  catalogue_.Refresh();
  selected_manufacturer_ = index;
  if (manufacturers_[index] == manu_edit_) {
    ManuEditChange();
  } else {
    SetManuEdit(manufacturers_[index]);
  }
  SelectFirstPart();
  ShowManufacturerPicture();
  Changed();
}

void SelectIcDialogLogic::NumListBoxClick(size_t index) {
  if (index >= parts_.size()) return;
  selected_part_ = index;
  SetIcTypeEdit(parts_[index]);
  chosen_part_ = parts_[index];
  Changed();
}

void SelectIcDialogLogic::NumListBoxDblClick(size_t index) {
  NumListBoxClick(index);
  OKBtnClick();
}

void SelectIcDialogLogic::ManuEditExit() {
  SetManuEdit(chosen_manufacturer_);
  Changed();
}

void SelectIcDialogLogic::IcTypeEditExit() {
  SetIcTypeEdit(chosen_part_);
  Changed();
}

void SelectIcDialogLogic::HistCBoxChange(size_t index) {
  if (index >= history_.items.size()) return;
  const std::optional<DeviceChoice> choice = SplitHistoryEntry(history_.items[index], catalogue_);
  if (!choice) return;
  SetManuEdit(choice->manufacturer);
  SetIcTypeEdit(choice->part);
  Changed();
}

void SelectIcDialogLogic::ConnetWEBBitBtnClick() {
  const std::string document = documents_.Find(chosen_manufacturer_);
  if (document == kNoDocument) {
    env_.messages.Box(kNoWebNameText, kConnectToWebCaption, MessageButtons::Ok, MessageIcon::None);
    return;
  }
  const std::optional<std::string> path = ManufacturerDocumentPath(env_.paths, document);
  if (!path || !env_.opener.Open(*path)) env_.messages.Show(kCouldNotCreateProcessText);
}

bool SelectIcDialogLogic::OKBtnClick() {
  env_.device.DialogCancelled = 0;
  env_.state.ProgrammerHasData = 0;
  if (!selected_part_) return false;
  if (ic_type_edit_.empty()) {
    env_.messages.Box(kNoPartChosenText, kErrorCaption, MessageButtons::Ok, MessageIcon::None);
    return false;
  }
  const std::optional<std::string> ic_path = ChosenDeviceFile(
      env_.paths, env_.state, catalogue_.path(), chosen_manufacturer_, chosen_part_, env_.messages);
  if (!ic_path || !RecordDeviceChoice(env_.state, chosen_manufacturer_, chosen_part_, *ic_path,
                                      env_.messages)) {
    return false;
  }
  const bool changed = chosen_part_ != previous_part_;
  previous_part_ = chosen_part_;
  env_.device.SelectedIcIniPath = *ic_path;
  env_.state.ProjectActive = 0;
  ring_.Add(chosen_manufacturer_, chosen_part_);
  Close();
  env_.setup.Apply(changed);
  return true;
}

void SelectIcDialogLogic::CancelBtnClick() {
  env_.device.DeviceChanged = 0;
  if (!IniFile(env_.state.HistoryIniFile).WriteString(kSelectDlg, "OK", "0")) {
    // Cancel still closes: the callers go by DialogCancelled.
    env_.messages.Box(strprintf(kCannotWriteFileFormat, env_.state.HistoryIniFile.c_str()),
                      kErrorCaption, MessageButtons::Ok, MessageIcon::Stop);
  }
  env_.device.DialogCancelled = 1;
  Close();
  env_.state.LoadNeedsDevice = 0;
}

void SelectIcDialogLogic::Close() {
  if (close_) close_();
}

}  // namespace quenlet
