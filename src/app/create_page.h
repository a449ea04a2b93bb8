#pragma once
// The Create page: the device and the data file a project is being made
// of, chosen with the device dialog and the load dialog and recorded in
// Project.ini [Temp] (Vendor, ID, Source). The page is hidden in this
// layout; its type button is reached as Button14 of the engineering panel
// (ShellCommands::create_type).
//
// One object for the whole run, made after the device dialog; it installs
// create_type and takes it back when it goes. Each record is one write of
// Project.ini; a folder that cannot be written to is no error here, since
// nothing else reads [Temp].
//
// A choice the operator cancelled changes nothing: the device label keeps
// naming the device that is loaded, and [Temp] keeps its device.
#include <optional>
#include <string>
#include <utility>

namespace quenlet {

class Application;

// The device dialog as the Create page uses it.
class CreatePageDialog {
 public:
  enum class Place {
    kCreatePanel,  // over the Create page
    kCopyPanel,    // over the Copy page, three pixels in from its left edge
  };
  virtual ~CreatePageDialog() = default;
  // Shows the dialog modally; returns once it closed, OK's device set-up
  // done. SelectedDevice::DialogCancelled tells Cancel from OK.
  virtual void ShowModal(Place place) = 0;
  // Its manufacturer and part fields.
  virtual std::pair<std::string, std::string> Texts() const = 0;
};

class CreatePage {
 public:
  CreatePage(Application& app, CreatePageDialog& dialog);
  ~CreatePage();
  CreatePage(const CreatePage&) = delete;
  CreatePage& operator=(const CreatePage&) = delete;

  // The device dialog over the Create page; after OK the device label and
  // [Temp] Vendor and ID name the chosen device.
  void CreateTypeBtnClick();
  // Button14 of the engineering panel.
  void Button14Click() { CreateTypeBtnClick(); }
  // The page's type picture: the device dialog over the Copy page; after OK
  // the device is loaded, its note (IC_Information1 not "None") shown and
  // the label names it.
  void Image14Click();
  // As Image14Click without the load and the note.
  void CopyTypeBtnClick();
  // A data file through the load dialog; [Temp] Source := the load path
  // field. Image15Click shows the Edit page too.
  void CreateLoadBtnClick();
  void Image15Click();

 private:
  // After an OK: the label names the dialog's device and the fuse map and
  // its editor follow it. False (nothing changed) after a Cancel.
  bool TakeChoice();

  Application& app_;
  CreatePageDialog& dialog_;
};

// The data file of a project being opened or made: the load dialog
// (starting on data_file when given; after a load the load path field names
// the file), the Edit page when show_edit, then Project.ini [Temp] Source :=
// the load path field.
void OpenCreateDataFile(Application& app, const std::optional<std::string>& data_file,
                        bool show_edit);

}  // namespace quenlet
