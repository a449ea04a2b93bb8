#pragma once
// The fuse editor's view of the main window, recorded.
#include <string>

#include "buffer/fuse_map_editor.h"

namespace quenlet::testing {

class FakeFuseHost : public FuseEditorHost {
 public:
  void ShowSum(const std::string& text, bool red) override {
    sum = text;
    sum_red = red;
    ++sums;
  }
  void SetLoadPath(const std::string& path) override { load_path = path; }
  void ShowMapFailure() override { ++map_failures; }
  void StepFail() override { ++step_fails; }

  std::string sum, load_path;
  bool sum_red = false;
  int sums = 0, map_failures = 0, step_fails = 0;
};

}  // namespace quenlet::testing
