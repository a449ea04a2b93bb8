#pragma once
// A byte-wide device of a given size on the in-process simulated unit, with
// the whole operation context around it and a patterned buffer to program:
// what the device-operation benchmarks run over.
#include <cstdint>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "device/selected_device.h"
#include "programmer/operation_context.h"
#include "programmer/simulated_backend.h"
#include "programmer/step_fail.h"
#include "programmer/step_pictures.h"
#include "programmer/transport.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

namespace quenlet::bench {

// Every reload puts the stored record back, as a device file would.
class KeepRecord : public DeviceReload {
 public:
  KeepRecord(SelectedDevice& target, const SelectedDevice& stored)
      : target_(target), stored_(stored) {}
  bool Reload() override {
    target_ = stored_;
    return true;
  }

 private:
  SelectedDevice& target_;
  const SelectedDevice& stored_;
};

class QuietWindow : public MainWindowControl {
 public:
  void Close() override {}
  void SetSramButtonsEnabled(bool) override {}
};

struct OpsBench {
  explicit OpsBench(uint32_t device_bytes) {
    stored.Data_Width = "0x00FF";
    stored.Block.SetWord(DeviceParameterBlock::kMaxAddressHi,
                         static_cast<uint16_t>((device_bytes - 1) >> 16));
    stored.Block.SetWord(DeviceParameterBlock::kMaxAddressLow,
                         static_cast<uint16_t>((device_bytes - 1) & 0xFFFF));
    stored.IcDeviceSize = device_bytes;
    stored.IcBufferSize = device_bytes;
    device = stored;
    buffer.ResizeBuffer(device_bytes, messages);
    auto bytes = buffer.Bytes();
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 16));
  }

  SelectedDevice stored;
  SelectedDevice device;
  KeepRecord reload{device, stored};
  MainFormState state;
  SimulatedBackend sim;
  Transport transport{sim};
  testing::FakeMessages messages;
  testing::FakeSound sound;
  testing::FakeEventPump pump;
  testing::FakeProgress progress;
  StepPictures view;
  StepFailIndicator step_fail{view, state, sound, pump};
  QuietWindow window;
  ProgrammerLink link{transport, state, device, messages, step_fail, view, window};
  DataBuffer buffer;
  FuseMap fuse_map;
  StepBusyFlags busy;
  OperationLock lock;
  OperationRecord record;
  OperationContext ctx{state, device, reload,   buffer, fuse_map, link,   view,    messages,
                       sound, pump,   progress, busy,   lock,     record, nullptr, {}};
};

}  // namespace quenlet::bench
