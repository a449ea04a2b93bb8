#pragma once
// The only code that talks to the programmer unit: finds it among the
// attached USB devices, keeps one open handle for the whole run, and moves
// vendor control requests and bulk blocks. It knows nothing of what the
// requests mean; every routine reports success as true and failure as false.
#include <cstdint>

#include "platform/usb_backend.h"

namespace quenlet {

// USB product id of the programmer unit; every caller of OpenProgrammer passes it.
inline constexpr uint16_t kProgrammerProductId = 0x0A3D;

class Transport {
 public:
  explicit Transport(UsbBackend& backend) : backend_(backend) {}

  // True at once when a device is open (the open device is trusted).
  // Otherwise tries every attached device in order and keeps the first whose
  // product id matches; false (and closed) when none does.
  bool OpenProgrammer(uint16_t product_id);
  // True when a device was open, false when it was already closed.
  bool CloseProgrammer();
  bool IsOpen() const { return open_; }

  // Vendor request, device to host (request type 0xC0): up to `length`
  // bytes arrive in `data`. True when the request succeeded; `received`, when
  // given, gets the number of bytes that arrived (callers with a fixed-size
  // reply use it to refuse a short one).
  bool UsbVendorCmdRead(uint8_t request, uint16_t value, uint16_t index, uint16_t length,
                        uint8_t* data, uint16_t* received = nullptr);
  // Vendor request, host to device (request type 0x40), with `length`
  // bytes of `data` as data stage (the protocol's own requests pass 0).
  bool UsbVendorCmdWrite(uint8_t request, uint16_t value, uint16_t index, uint16_t length,
                         const uint8_t* data);
  // Bulk blocks: true only when all `count` bytes moved.
  bool UsbDataRead(uint32_t count, uint8_t* data);
  bool UsbDataWrite(uint32_t count, const uint8_t* data);

 private:
  // A transfer on a closed handle searches once first; its result is not
  // looked at (the transfer itself then fails).
  void ReopenIfClosed();

  UsbBackend& backend_;
  bool open_ = false;
};

}  // namespace quenlet
