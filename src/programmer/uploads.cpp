#include "programmer/uploads.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <optional>
#include <vector>

#include "buffer/binary_file.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "programmer/identification.h"
#include "programmer/protocol.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

constexpr const char* kNoUnitText = "Please Open your USB";
constexpr const char* kNoAlgorithmText =
    "No algorithm image for this device: its support files are missing.";

// The driver image: the first 16 KB of the file, 0xFF beyond its end. A file
// that is missing or no regular file (a pipe would wait for a writer) leaves
// the whole image 0xFF; the passes go out all the same.
std::vector<uint8_t> DriverImage(const std::optional<std::string>& path) {
  std::vector<uint8_t> image(kDriverImageSize, 0xFF);
  if (!path) return image;
  const FileRangeRead read = ReadFileBytes(*path, 0, kDriverImageSize - 1);
  std::copy(read.bytes.begin(), read.bytes.end(), image.begin());
  return image;
}

// Four passes of the same image: 0x43 (pass value), 0x47 (0x4000, 0x4000),
// 16 KB bulk write. The failure text names the pass and transfer that
// failed; none when all went out.
std::optional<std::string> SendDriverPasses(Transport& t, const std::vector<uint8_t>& image,
                                            bool number_passes, const std::string& name) {
  for (int pass = 0; pass < kDriverPasses; ++pass) {
    const uint16_t value = number_passes ? static_cast<uint16_t>(pass) : 0;
    const char* failed = nullptr;
    if (!SendRequest(t, request::kAnnounce, value, 0)) {
      failed = "request 0x43";
    } else if (!SendRequest(t, request::kAreaWrite, area::kDriver, area::kDriverSize)) {
      failed = "request 0x47";
    } else if (!t.UsbDataWrite(static_cast<uint32_t>(image.size()), image.data())) {
      failed = "its 16 KB of data";
    }
    if (failed != nullptr) {
      return strprintf(op_text::kDriverUploadFailFormat, name.c_str(), pass + 1, kDriverPasses,
                       failed);
    }
  }
  return std::nullopt;
}

// A failed driver upload marks the read step failed.
void ShowReadStepFailed(ProgrammerLink& link) {
  link.step_fail.StepFail();
  for (const char* picture : {"read_n", "read_h", "read_w", "read_p"}) link.steps.Hide(picture);
  link.steps.Show("read_f");
  link.steps.Hide("Pass");
  link.steps.Hide("Wait");
}

// Reconnects and uploads `image` of the driver `name`; false when no unit
// answers or a pass fails. A failed pass stops the upload there.
bool UploadDriverImage(ProgrammerLink& link, const std::vector<uint8_t>& image, bool number_passes,
                       const std::string& name) {
  Transport& t = link.transport;
  t.CloseProgrammer();
  if (!t.OpenProgrammer(kProgrammerProductId)) {
    link.messages.Show(kNoUnitText);
    return false;
  }
  if (const std::optional<std::string> failure = SendDriverPasses(t, image, number_passes, name)) {
    ShowReadStepFailed(link);
    link.messages.Show(*failure);
    return false;
  }
  return true;
}

// Reads up to 8 KB of a support file into the image at `offset`; with
// `only_when_fits` a longer file is left out. False (after the error
// display) when the file cannot be read; only regular files are, so a pipe
// in its place is refused at once instead of waiting for a writer.
bool ReadSupportFile(ProgrammerLink& link, const ProgramPaths& paths, const std::string& stored,
                     std::vector<uint8_t>& image, size_t offset, bool only_when_fits) {
  std::optional<std::string> path = paths.Resolve(stored);
  // One byte more than fits tells a longer file.
  FileRangeRead read;
  read.status = FileRangeRead::Status::CannotOpen;
  if (path) read = ReadFileBytes(*path, 0, kAlgorithmPartSize);
  if (read.status != FileRangeRead::Status::Read) {
    link.messages.ShowError(
        strprintf(op_text::kCannotOpenFileFormat, path ? path->c_str() : stored.c_str()));
    return false;
  }
  if (only_when_fits && read.bytes.size() > kAlgorithmPartSize) return true;
  const size_t n = std::min(read.bytes.size(), kAlgorithmPartSize);
  std::copy_n(read.bytes.begin(), n, image.begin() + static_cast<std::ptrdiff_t>(offset));
  return true;
}

}  // namespace

bool SendDeviceParams(ProgrammerLink& link) {
  Transport& t = link.transport;
  const auto& block = link.device.Block.bytes;
  if (!SendRequest(t, request::kAreaWrite, area::kParameters, area::kParametersSize) ||
      !t.UsbDataWrite(static_cast<uint32_t>(block.size()), block.data())) {
    link.step_fail.StepFail();
    return false;
  }
  return true;
}

bool UploadAlgorithm(ProgrammerLink& link) {
  const std::vector<uint8_t>& image = link.state.AlgorithmImage;
  if (image.size() != kAlgorithmImageSize) {
    link.step_fail.StepFail();
    link.messages.Show(kNoAlgorithmText);
    return false;
  }
  Transport& t = link.transport;
  if (!SendRequest(t, request::kAnnounce, 0, kAnnounceAlgorithmIndex) ||
      !SendRequest(t, request::kPageWrite, area::kPage, area::kPageHalfSize) ||
      !t.UsbDataWrite(static_cast<uint32_t>(image.size()), image.data())) {
    link.step_fail.StepFail();
    return false;
  }
  return true;
}

bool SendDefaultDriverFile(ProgrammerLink& link) {
  ProgramPaths paths(link.state.ProgramDir);
  return UploadDriverImage(link, DriverImage(paths.Resolve(kDefaultDriverFile)), false,
                           kDefaultDriverFile);
}

bool SendDriverFile(ProgrammerLink& link, const std::string& name) {
  // A new device load: the previous device's image must never reach the unit.
  link.state.AlgorithmImage.clear();
  // Once another model answered the program is closing: no second question
  // and no second message.
  if (link.state.WrongProgrammer == 1) return false;
  if (link.state.ProgrammerIdentified == 0) IdentifyProgrammer(link);
  if (link.state.WrongProgrammer == 1) return false;
  ProgramPaths paths(link.state.ProgramDir);
  return UploadDriverImage(link, DriverImage(paths.Resolve(name)), true, name);
}

void LoadDeviceAlgorithm(ProgrammerLink& link, const std::string& fpga_file,
                         const std::string& /*user_wav*/, const std::string& pin_scan_drv,
                         const std::string& pin_scan_fpga) {
  link.state.AlgorithmImage.clear();
  std::vector<uint8_t> image;
  try {
    image.assign(kAlgorithmImageSize, 0xFF);
  } catch (const std::bad_alloc&) {
    link.step_fail.StepFail();
    link.messages.Show("Memory Can't Open 32K Byte");
    return;
  }
  ProgramPaths paths(link.state.ProgramDir);
  if (!ReadSupportFile(link, paths, fpga_file, image, kAlgorithmFpgaOffset, false) ||
      !ReadSupportFile(link, paths, pin_scan_drv, image, kAlgorithmPinScanDrvOffset, true) ||
      !ReadSupportFile(link, paths, pin_scan_fpga, image, kAlgorithmPinScanFpgaOffset, false)) {
    return;
  }
  link.state.AlgorithmImage = std::move(image);
}

bool ReconnectUnit(ProgrammerLink& link) {
  link.transport.CloseProgrammer();
  const bool open = link.transport.OpenProgrammer(kProgrammerProductId);
  link.window.SetSramButtonsEnabled(open);
  return open;
}

void ReopenAndConfigure(ProgrammerLink& link) {
  if (ReconnectUnit(link) && SendDeviceParams(link)) SendDefaultDriverFile(link);
}

}  // namespace quenlet
