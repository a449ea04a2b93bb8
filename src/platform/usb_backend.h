#pragma once
// What the programmer transport needs from a USB stack: a numbered list of
// attached devices with their device descriptors, one open device at a time,
// vendor control requests and bulk transfers on it. Implemented over libusb
// for the real unit and in-process for the simulated one.
#include <array>
#include <cstdint>

namespace quenlet {

// Request type values of the vendor requests.
inline constexpr uint8_t kVendorRequestIn = 0xC0;   // device to host
inline constexpr uint8_t kVendorRequestOut = 0x40;  // host to device

// The setup fields of one vendor control request.
struct VendorRequest {
  uint8_t request_type = kVendorRequestOut;
  uint8_t request = 0;
  uint16_t value = 0;
  uint16_t index = 0;
  uint16_t length = 0;  // bytes of the data stage, 0 when there is none

  bool DeviceToHost() const { return (request_type & 0x80) != 0; }
};

// The standard 18-byte USB device descriptor.
using DeviceDescriptor = std::array<uint8_t, 18>;

inline uint16_t DescriptorProductId(const DeviceDescriptor& d) {
  return static_cast<uint16_t>(d[10] | (d[11] << 8));
}

class UsbBackend {
 public:
  virtual ~UsbBackend() = default;

  // Refreshes the list of attached devices and returns how many there are;
  // devices are numbered 0 to count - 1 in the stack's own order.
  virtual int Enumerate() = 0;
  // Device descriptor of device `number` of the last Enumerate().
  virtual bool ReadDeviceDescriptor(int number, DeviceDescriptor& descriptor) = 0;
  // Opens device `number` for transfers (one device at a time); false when it
  // cannot be opened or has no usable interface.
  virtual bool Open(int number) = 0;
  virtual void Close() = 0;

  // A vendor control request on the open device. For device-to-host requests
  // up to request.length bytes are written to `data`; for host-to-device
  // requests `data` is only read. Returns the bytes of the data stage that
  // moved, or -1 on failure (no device, stall, time-out, unplugged unit).
  virtual int ControlTransfer(const VendorRequest& request, uint8_t* data) = 0;
  // Bulk transfers on the open device: the bytes moved, or -1 on failure.
  virtual int64_t BulkRead(uint8_t* data, uint32_t count) = 0;
  virtual int64_t BulkWrite(const uint8_t* data, uint32_t count) = 0;
};

}  // namespace quenlet
