// A device file on arbitrary text, as the device dialog previews it and the
// IC INI loader loads it: a load either takes every value (sizes within the
// largest buffer, supply and ground pins on the socket) or, refused with its
// message, leaves the previous device as it was.
#include <cstddef>
#include <cstdint>

#include "device/device_loader_link.h"
#include "device/device_preview.h"
#include "device/ic_ini_loader.h"
#include "device/parameter_block.h"
#include "fuzz_support.h"
#include "platform/program_paths.h"
#include "state/buffer_limits.h"
#include "state/main_form_state.h"

namespace {

class NoUnit : public quenlet::DeviceLoaderLink {
 public:
  bool SendDriverFile(quenlet::MainFormState&, const std::string&) override { return true; }
  void LoadDeviceAlgorithm(quenlet::MainFormState&, const std::string&, const std::string&,
                           const std::string&, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  fuzz::WriteScratch("INI/DEV.INI", {reinterpret_cast<const char*>(data), size});
  const ProgramPaths paths(fuzz::ScratchDir());
  ReadDevicePreview(paths, "DEV.INI");

  MainFormState state;
  state.ProgramDir = paths.root();
  SelectedDevice device;
  device.SelectedIcIniPath = paths.root() + "INI\\DEV.INI";
  const SelectedDevice before = device;
  NoUnit link;
  fuzz::SilentMessages messages;
  IcIniLoader loader(device, state, paths, link, messages);
  const IcLoadOutcome outcome = loader.LoadIcParameters(0, 0, 0);
  if (outcome.status == IcLoadStatus::Failed) {
    fuzz::Check(!outcome.message.empty(), "a refused load says why");
    fuzz::Check(device == before, "a refused load keeps the previous device");
    return 0;
  }
  fuzz::Check(device.IcBufferSize <= kMaxBufferSize, "the buffer within the largest");
  using B = DeviceParameterBlock;
  for (size_t pin : {B::kGndPin1, B::kGndPin2, B::kVccPin1, B::kVccPin2}) {
    const uint8_t socket = device.Block.bytes[pin];
    fuzz::Check(socket <= 48 || (pin == B::kVccPin2 && socket == 255), "pins on the socket");
  }
  return 0;
}
