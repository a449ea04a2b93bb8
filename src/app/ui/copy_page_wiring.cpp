#include "app/ui/copy_page_wiring.h"

#include "app/application.h"
#include "app/copy_page_fuse_host.h"
#include "app/copy_steps.h"
#include "app/run_sequences.h"
#include "app/ui/main_form.h"
#include "buffer/ui/fuse_editor_window.h"
#include "buffer/ui/load_save_windows.h"
#include "buffer/ui/show_sum_window.h"
#include "device/big_ini_file.h"
#include "platform/ui/qt_file_chooser.h"

namespace quenlet {

CopyPageWiring::CopyPageWiring(Application& app, TMainForm& form, FileChooser* files)
    : QObject(&form),
      app_(app),
      form_(form),
      own_files_(files ? nullptr : std::make_unique<QtFileChooser>(&form)),
      files_(files ? *files : *own_files_),
      show_sum_(new TShowSum(&form)) {
  // The name histories live in the program's own INI file in its folder.
  windows_ =
      std::make_unique<QtLoadSaveWindows>(&form, app.operations(), app, files_, *show_sum_,
                                          TAppIniFile::IniNameFor(app.paths().root() + "quenlet"));
  app.SetLoadSaveWindows(windows_.get());
  fuse_host_ = std::make_unique<CopyPageFuseHost>(app.pictures(), app.link().step_fail, *windows_);

  InstallRunSequences(app);
  ShellCommands& c = app.commands();
  RefreshAfter(c.run);
  RefreshAfter(c.auto_run);
  RefreshAfter(c.zero_counter);

  FuseEditorSteps fuse;
  fuse.load = [this] { return fuse_editor_ && fuse_editor_->GAL_loadClick(); };
  fuse.save = [this] { return fuse_editor_ && fuse_editor_->Gal_SaveClick(); };
  fuse.show = [this] {
    if (fuse_editor_) form_.PlaceFuseEditor(fuse_editor_);
  };
  InstallCopySteps(app, std::move(fuse));
  c.create_fuse_editor = [this] { ReplaceFuseEditor(); };
  form.Refresh();
}

CopyPageWiring::~CopyPageWiring() {
  app_.SetLoadSaveWindows(nullptr);
  ShellCommands& c = app_.commands();
  c.run = c.auto_run = c.stop = c.zero_counter = nullptr;
  c.create_fuse_editor = c.checksum = nullptr;
  for (int s = 0; s < static_cast<int>(Step::Count); ++s) {
    if (static_cast<Step>(s) != Step::Type) c.steps[s] = nullptr;
  }
}

Tform2* CopyPageWiring::FuseEditor() const {
  return fuse_editor_;
}

void CopyPageWiring::RefreshAfter(std::function<void()>& command) {
  command = [inner = command, this] {
    inner();
    form_.Refresh();
  };
}

void CopyPageWiring::ReplaceFuseEditor() {
  if (fuse_editor_) {
    fuse_editor_->FreeFuseMap();
    delete fuse_editor_.data();
  }
  if (app_.state().FuseMode != 1) return;
  const FuseEditorLinks links{app_.fuse_map(), app_.state(), app_.device(), app_.buffer(),
                              app_.messages(), files_,       *fuse_host_};
  fuse_editor_ = new Tform2(links, &form_);
  form_.PlaceFuseEditor(fuse_editor_);
  fuse_editor_->hide();
  fuse_editor_->InitFuseMap();
}

CopyPageWiring* InstallCopyPage(Application& app, TMainForm& form, FileChooser* files) {
  return new CopyPageWiring(app, form, files);
}

}  // namespace quenlet
