#pragma once
// The device-selection dialog without its window: the manufacturer and part
// lists from Select.ini, the two read-only edits that keep them in step, the
// preview, the manufacturer's document and picture, the recent-device ring
// and the OK and Cancel of the dialog. The window (ui/device) mirrors these
// fields and forwards its events to the handlers, which carry the names of
// the dialog's events.
//
// One object lives for the whole run: FormCreate fills the manufacturer list
// and the history once; the part list follows every manufacturer change;
// the selection survives between showings.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/catalogue.h"
#include "device/device_history.h"
#include "device/device_preview.h"

namespace quenlet {

class DocumentOpener;
class Messages;
class ProgramPaths;
struct MainFormState;
struct SelectedDevice;

// What OK hands on once the choice is recorded and the dialog has closed:
// the main window's controls, the buffer and the programmer are set up for
// the device and its checksum is shown. The application implements it.
class DeviceSetup {
 public:
  virtual ~DeviceSetup() = default;
  // `part_changed`: the part differs from the one chosen at the previous OK.
  virtual void Apply(bool part_changed) = 0;
};

struct SelectIcEnv {
  const ProgramPaths& paths;
  MainFormState& state;
  SelectedDevice& device;
  Messages& messages;
  DocumentOpener& opener;
  DeviceSetup& setup;
};

inline constexpr const char* kDefaultManufacturer = "General Type";
inline constexpr const char* kNoPartChosenText = "You have not choice any Number of IC";
inline constexpr const char* kNoWebNameText = "Not found any WEB name in URL Listing File.";
inline constexpr const char* kConnectToWebCaption = "Connect to WEB";
inline constexpr const char* kCouldNotCreateProcessText = "Could not create process";
inline constexpr const char* kErrorCaption = "ERROR";
inline constexpr const char* kCannotWriteFileFormat = "Cannot write file \"%s\".";
inline constexpr const char* kInitialWebHint = "NONE";
// A showing of the dialog over a catalogue it could not read, formatted with
// the catalogue's path.
inline constexpr const char* kCatalogueMissingFormat =
    "The device list \"%s\" is missing: there is no device to choose.";
inline constexpr const char* kCatalogueUnreadableFormat =
    "The device list \"%s\" cannot be read: there is no device to choose.";

// The device file a choice leads to, as OK takes it: the program
// directory, "INI\" and the part's file in the catalogue `select_ini`.
// nullopt, after saying what is wrong (DeviceFileProblem), when that file is
// not there or describes no device: such a choice would leave the program
// with a device of defaults only.
std::optional<std::string> ChosenDeviceFile(const ProgramPaths& paths, const MainFormState& state,
                                            const std::string& select_ini,
                                            const std::string& manufacturer,
                                            const std::string& part, Messages& messages);
// Records a choice in History_1.ini [SelectDlg] (Manufacturer, TypeNum,
// IcFileName, OK "1", ISPmode "0") with one write. False, after "Cannot
// write file", when the file could not be written: the load and the start
// read the choice back from it, so a choice it does not hold is no choice.
bool RecordDeviceChoice(const MainFormState& state, const std::string& manufacturer,
                        const std::string& part, const std::string& ic_path, Messages& messages);

class SelectIcDialogLogic {
 public:
  explicit SelectIcDialogLogic(SelectIcEnv env);

  // Called when OK or Cancel closes the dialog (before OK's device set-up).
  void SetCloseHandler(std::function<void()> close) { close_ = std::move(close); }

  // Creation: the history box, the last selection (or "General Type") with
  // both lists and its preview, the manufacturer's picture.
  void FormCreate();
  // Before each showing: the catalogue is read again when it changed; a
  // catalogue that is missing or cannot be read is said, once a showing.
  void BeforeShow();

  // --- handlers ---------------------------------------------------------------
  void MaunListBoxClick(size_t index);
  void NumListBoxClick(size_t index);
  // Double click on a part: the part, then OK.
  void NumListBoxDblClick(size_t index);
  void ManuEditExit();
  void IcTypeEditExit();
  // An item of the history box was picked.
  void HistCBoxChange(size_t index);
  void ConnetWEBBitBtnClick();
  // True when the dialog closed (the choice was taken).
  bool OKBtnClick();
  void CancelBtnClick();

  // --- what the window shows ----------------------------------------------------
  const std::vector<std::string>& Manufacturers() const { return manufacturers_; }
  const std::vector<std::string>& Parts() const { return parts_; }
  // Goes up with every refill of the part list, so a window redraws it only then.
  uint64_t PartListVersion() const { return part_list_version_; }
  std::optional<size_t> SelectedManufacturer() const { return selected_manufacturer_; }
  std::optional<size_t> SelectedPart() const { return selected_part_; }
  const std::string& ManuEditText() const { return manu_edit_; }
  const std::string& IcTypeEditText() const { return ic_type_edit_; }
  const DevicePreviewTexts& Preview() const { return preview_; }
  bool WebEnabled() const { return web_enabled_; }
  const std::string& WebHint() const { return web_hint_; }
  const HistoryCombo& History() const { return history_; }
  const std::optional<std::string>& PicturePath() const { return picture_; }

  const std::string& ChosenManufacturer() const { return chosen_manufacturer_; }
  const std::string& ChosenPart() const { return chosen_part_; }
  const std::string& PreviousPart() const { return previous_part_; }

  // Called after every change of what the window shows.
  void SetChangeHandler(std::function<void()> changed) { changed_ = std::move(changed); }

  const DeviceCatalogue& Catalogue() const { return catalogue_; }
  const DeviceHistoryRing& Ring() const { return ring_; }

 private:
  void FillManufacturerList();
  void FillPartList();
  void RestoreLastSelection();
  // The edits' texts; their change handlers keep the lists in step.
  void SetManuEdit(const std::string& text);
  void SetIcTypeEdit(const std::string& text);
  void ManuEditChange();
  void IcTypeEditChange();
  // Selects part 0 and takes it as the chosen part (none in an empty list).
  void SelectFirstPart();
  void ShowDevicePreview();
  void ShowManufacturerPicture();
  void ShowManufacturerDocument();
  void Close();
  void Changed() {
    if (changed_) changed_();
  }

  SelectIcEnv env_;
  DeviceCatalogue catalogue_;
  DeviceHistoryRing ring_;
  ManufacturerDocuments documents_;
  std::function<void()> close_;
  std::function<void()> changed_;

  std::vector<std::string> manufacturers_;
  std::vector<std::string> parts_;
  uint64_t part_list_version_ = 0;
  std::optional<size_t> selected_manufacturer_;
  std::optional<size_t> selected_part_;
  std::string manu_edit_;
  std::string ic_type_edit_;
  DevicePreviewTexts preview_;
  bool web_enabled_ = false;
  std::string web_hint_ = kInitialWebHint;
  HistoryCombo history_;
  std::optional<std::string> picture_;

  std::string chosen_manufacturer_;
  std::string chosen_part_;
  std::string previous_part_;
};

}  // namespace quenlet
