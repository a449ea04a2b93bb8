#pragma once
// The Copy page at work in the program's window: Run, AutoRun, Stop and the
// pass counter, the step pictures over the load and save dialogs, and the
// fuse-map editor of a fuse device (made at start-up and for each new fuse
// device, shown by the Edit step, used by the Load and Save steps).
//
//   TMainForm window(app);
//   InstallCopyPage(app, window);   // before the window is first shown
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

namespace quenlet {

class Application;
class CopyPageFuseHost;
class FileChooser;
class QtLoadSaveWindows;
class TMainForm;
class TShowSum;
class Tform2;

class CopyPageWiring : public QObject {
  Q_OBJECT

 public:
  // `files` answers the file dialogs of the load, save and fuse-editor
  // commands; null means Qt's own dialogs over the window.
  CopyPageWiring(Application& app, TMainForm& form, FileChooser* files = nullptr);
  ~CopyPageWiring() override;

  // The editor of the selected fuse device; null for other devices.
  Tform2* FuseEditor() const;
  QtLoadSaveWindows& LoadSaveWindows() { return *windows_; }

 private:
  // Drops the previous device's editor and, for a fuse device, makes the
  // new one in its place (hidden until the Edit step).
  void ReplaceFuseEditor();
  // The window draws the state again after a command (the pass counter is
  // no picture).
  void RefreshAfter(std::function<void()>& command);

  Application& app_;
  TMainForm& form_;
  std::unique_ptr<FileChooser> own_files_;
  FileChooser& files_;
  TShowSum* show_sum_ = nullptr;
  std::unique_ptr<QtLoadSaveWindows> windows_;
  std::unique_ptr<CopyPageFuseHost> fuse_host_;
  QPointer<Tform2> fuse_editor_;
};

// Fills the application's run, step and fuse-editor commands for `form`;
// the wiring lives as long as the window.
CopyPageWiring* InstallCopyPage(Application& app, TMainForm& form, FileChooser* files = nullptr);

}  // namespace quenlet
