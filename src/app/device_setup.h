#pragma once
// The device dialog's OK after the choice is recorded: the Copy page's
// steps are offered again, the buffer is sized and the programmer
// configured for the new device, and the checksum field shows the device's
// sum: the programmer's own for devices whose programmer keeps the data,
// else the buffer's over the device range.
#include <functional>

#include "device/select_ic_logic.h"

namespace quenlet {

struct OperationContext;

class ProgrammerDeviceSetup : public DeviceSetup {
 public:
  // `apply_buffer_size` loads the chosen device and sizes the buffer for it.
  ProgrammerDeviceSetup(OperationContext& ctx, std::function<void()> apply_buffer_size)
      : ctx_(ctx), apply_buffer_size_(std::move(apply_buffer_size)) {}

  void Apply(bool part_changed) override;

 private:
  OperationContext& ctx_;
  std::function<void()> apply_buffer_size_;
};

}  // namespace quenlet
