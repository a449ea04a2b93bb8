#pragma once
// The real programmer unit through libusb. Devices are numbered in libusb's
// order of its device list; opening one claims interface 0 and takes the
// first bulk IN and bulk OUT endpoints of it. A device whose interface 0 a
// kernel driver holds is never taken from that driver: another product may
// share the unit's product id (a USB disk, say), and it is passed over.
// QUENLET_USB_DEBUG (set and not empty) logs such devices on stderr.
#include <cstdint>

#include "platform/usb_backend.h"

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace quenlet {

class LibusbBackend : public UsbBackend {
 public:
  // A status request is answered only once the operation started before it
  // has finished, and a whole-chip erase of a large device takes minutes: the
  // control time-out covers the slowest erase. An unplugged unit fails at
  // once (no device), so this bounds only a unit that stopped answering.
  static constexpr unsigned kControlTimeoutMs = 180'000;
  // One bulk block is at most 32 KB and moves while the unit waits for it.
  static constexpr unsigned kBulkTimeoutMs = 30'000;
  static constexpr int kInterface = 0;

  LibusbBackend();
  ~LibusbBackend() override;
  LibusbBackend(const LibusbBackend&) = delete;
  LibusbBackend& operator=(const LibusbBackend&) = delete;

  // False when libusb could not be initialised (no device is ever found).
  bool usable() const { return context_ != nullptr; }

  int Enumerate() override;
  bool ReadDeviceDescriptor(int number, DeviceDescriptor& descriptor) override;
  bool Open(int number) override;
  void Close() override;
  int ControlTransfer(const VendorRequest& request, uint8_t* data) override;
  int64_t BulkRead(uint8_t* data, uint32_t count) override;
  int64_t BulkWrite(const uint8_t* data, uint32_t count) override;

 private:
  void FreeList();
  int64_t Bulk(uint8_t endpoint, uint8_t* data, uint32_t count);

  libusb_context* context_ = nullptr;
  libusb_device** list_ = nullptr;
  int count_ = 0;
  bool debug_ = false;
  libusb_device_handle* handle_ = nullptr;
  bool claimed_ = false;
  uint8_t in_endpoint_ = 0;
  uint8_t out_endpoint_ = 0;
};

}  // namespace quenlet
