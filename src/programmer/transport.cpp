#include "programmer/transport.h"

namespace quenlet {

bool Transport::OpenProgrammer(uint16_t product_id) {
  if (open_) return true;
  const int count = backend_.Enumerate();
  for (int number = 0; number < count; ++number) {
    DeviceDescriptor descriptor{};
    if (!backend_.ReadDeviceDescriptor(number, descriptor)) continue;
    if (DescriptorProductId(descriptor) != product_id) continue;
    if (!backend_.Open(number)) continue;
    open_ = true;
    return true;
  }
  open_ = false;
  return false;
}

bool Transport::CloseProgrammer() {
  if (!open_) return false;
  backend_.Close();
  open_ = false;
  return true;
}

void Transport::ReopenIfClosed() {
  if (!open_) OpenProgrammer(kProgrammerProductId);
}

bool Transport::UsbVendorCmdRead(uint8_t request, uint16_t value, uint16_t index, uint16_t length,
                                 uint8_t* data, uint16_t* received) {
  if (received) *received = 0;
  if (length > 0 && !data) return false;
  ReopenIfClosed();
  if (!open_) return false;
  VendorRequest setup{kVendorRequestIn, request, value, index, length};
  int moved = backend_.ControlTransfer(setup, data);
  if (moved < 0) return false;
  if (received) *received = static_cast<uint16_t>(moved > length ? length : moved);
  return true;
}

bool Transport::UsbVendorCmdWrite(uint8_t request, uint16_t value, uint16_t index, uint16_t length,
                                  const uint8_t* data) {
  if (length > 0 && !data) return false;
  ReopenIfClosed();
  if (!open_) return false;
  VendorRequest setup{kVendorRequestOut, request, value, index, length};
  // Host-to-device: the backend only reads the data stage.
  return backend_.ControlTransfer(setup, const_cast<uint8_t*>(data)) >= 0;
}

bool Transport::UsbDataRead(uint32_t count, uint8_t* data) {
  if (count > 0 && !data) return false;
  ReopenIfClosed();
  if (!open_) return false;
  int64_t moved = backend_.BulkRead(data, count);
  return moved >= 0 && static_cast<uint64_t>(moved) >= count;
}

bool Transport::UsbDataWrite(uint32_t count, const uint8_t* data) {
  if (count > 0 && !data) return false;
  ReopenIfClosed();
  if (!open_) return false;
  int64_t moved = backend_.BulkWrite(data, count);
  return moved >= 0 && static_cast<uint64_t>(moved) >= count;
}

}  // namespace quenlet
