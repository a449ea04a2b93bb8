#pragma once
// The fuse editor's view of the main window, recorded, and everything an
// editor is built over.
#include <string>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "buffer/fuse_map_editor.h"
#include "device/selected_device.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

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

// The run state, record, buffer and map of a selected fuse device, with
// fakes for what the operator sees.
struct FuseEditorParts {
  // The loader's fields for a device of this geometry.
  void Geometry(uint32_t count, uint32_t columns, uint32_t rows, uint8_t pins, int32_t intact) {
    state.FuseCount = count;
    state.FuseColumns = columns;
    state.FuseRows = rows;
    state.PackagePins = pins;
    device.Intact = intact;
  }
  FuseEditorLinks Links() { return {map, state, device, buffer, messages, files, host}; }

  MainFormState state;
  SelectedDevice device;
  DataBuffer buffer;
  FuseMap map;
  FakeMessages messages;
  FakeFileChooser files;
  FakeFuseHost host;
};

}  // namespace quenlet::testing
