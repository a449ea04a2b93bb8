#pragma once
// The Copy page at work in the program's window: Run, AutoRun, Stop and the
// pass counter, the step pictures over the load and save dialogs, and the
// fuse-map editor of a fuse device (made at start-up and for each new fuse
// device, shown by the Edit step, used by the Load and Save steps).
//
//   TMainForm window(app);
//   ... the load and save dialogs' windows, set in the application ...
//   InstallCopyPage(app, window, files, load_save);   // before the first show
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace quenlet {

class Application;
class CopyPageFuseHost;
class FileChooser;
class LoadSaveWindows;
class TMainForm;
class Tform2;

class CopyPageWiring : public QObject {
  Q_OBJECT

 public:
  // `files` answers the fuse editor's file dialogs; `windows` are the load
  // and save dialogs' windows the application uses (the editor's load shows
  // its file in their load path field).
  CopyPageWiring(Application& app, TMainForm& form, FileChooser& files, LoadSaveWindows& windows);
  ~CopyPageWiring() override;

  // The editor of the selected fuse device; null for other devices.
  Tform2* FuseEditor() const;

 private:
  // Drops the previous device's editor and, for a fuse device, makes the
  // new one in its place (hidden until the Edit step).
  void ReplaceFuseEditor();
  // The window draws the state again after a command (the pass counter is
  // no picture).
  void RefreshAfter(std::function<void()>& command);

  Application& app_;
  TMainForm& form_;
  FileChooser& files_;
  std::unique_ptr<CopyPageFuseHost> fuse_host_;
  QPointer<Tform2> fuse_editor_;
};

// Fills the application's run, step and fuse-editor commands for `form`;
// the wiring lives as long as the window.
CopyPageWiring* InstallCopyPage(Application& app, TMainForm& form, FileChooser& files,
                                LoadSaveWindows& windows);

}  // namespace quenlet
