#pragma once
// The device-selection dialog of the run, made once over the main window
// (after it, before the first show), and the Copy page's Type step that
// shows it: a click on type_n lets type_h take the next one; type_h runs
// the Type step. The host lives as long as the main window.
#include <QPoint>
#include <memory>

#include "app/device_setup.h"
#include "ui/platform/qt_document_opener.h"

namespace quenlet {

class Application;
class TMainForm;
class TSelectICDialog;
enum class Layer : int;

class DeviceDialogHost {
 public:
  // Where the dialog opens, from the main window's top-left corner: over
  // the Copy page, three pixels in from its left edge.
  static constexpr QPoint kDialogOffset{13, 53};

  DeviceDialogHost(Application& app, TMainForm& window);
  ~DeviceDialogHost();
  DeviceDialogHost(const DeviceDialogHost&) = delete;
  DeviceDialogHost& operator=(const DeviceDialogHost&) = delete;

  TSelectICDialog& Dialog() { return *dialog_; }

  // The Type step's command for the picture that took the click.
  void TypeClick(Layer layer);

 private:
  void ShowDialog();

  Application& app_;
  TMainForm& window_;
  QtDocumentOpener opener_;
  ProgrammerDeviceSetup setup_;
  std::unique_ptr<TSelectICDialog> dialog_;
};

}  // namespace quenlet
