#pragma once
// The fuse editor's view of the main window: the Copy page's checksum field
// and read step pictures, the load path field, and the common failure
// indication.
#include <string>

#include "buffer/fuse_map_editor.h"
#include "buffer/load_pipeline.h"
#include "programmer/step_fail_sink.h"
#include "programmer/step_pictures.h"

namespace quenlet {

class CopyPageFuseHost : public FuseEditorHost {
 public:
  CopyPageFuseHost(StepPictures& view, StepFailSink& step_fail, LoadSaveWindows& windows)
      : view_(view), step_fail_(step_fail), windows_(windows) {}

  void ShowSum(const std::string& text, bool red) override {
    view_.SetSumColour(red ? SumColour::Red : SumColour::WindowText);
    view_.SetSum(text);
  }
  void SetLoadPath(const std::string& path) override { windows_.SetLoadPathText(path); }
  void ShowMapFailure() override {
    view_.Hide(Step::Read, Layer::w);
    view_.Hide(Step::Read, Layer::p);
    view_.Show(Step::Read, Layer::f);
    step_fail_.StepFail();
  }
  void StepFail() override { step_fail_.StepFail(); }

 private:
  StepPictures& view_;
  StepFailSink& step_fail_;
  LoadSaveWindows& windows_;
};

}  // namespace quenlet
