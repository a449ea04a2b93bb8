#include "ui/app/copy_page_wiring.h"

#include "app/application.h"
#include "app/copy_page_fuse_host.h"
#include "app/copy_steps.h"
#include "app/run_sequences.h"
#include "ui/app/main_form.h"
#include "ui/buffer/fuse_editor_window.h"

namespace quenlet {

CopyPageWiring::CopyPageWiring(Application& app, TMainForm& form, FileChooser& files,
                               LoadSaveWindows& windows)
    : QObject(&form),
      app_(app),
      form_(form),
      files_(files),
      fuse_host_(
          std::make_unique<CopyPageFuseHost>(app.pictures(), app.link().step_fail, windows)) {
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

CopyPageWiring* InstallCopyPage(Application& app, TMainForm& form, FileChooser& files,
                                LoadSaveWindows& windows) {
  return new CopyPageWiring(app, form, files, windows);
}

}  // namespace quenlet
