#include "platform/libusb_backend.h"

#include <libusb.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace quenlet {
namespace {

// First bulk IN and bulk OUT endpoint of interface 0, alternate setting 0.
bool FindBulkEndpoints(libusb_device* device, uint8_t& in, uint8_t& out) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != 0 || !config) {
    if (libusb_get_config_descriptor(device, 0, &config) != 0 || !config) return false;
  }
  in = 0;
  out = 0;
  for (int i = 0; i < config->bNumInterfaces; ++i) {
    const libusb_interface& interface = config->interface[i];
    if (interface.num_altsetting < 1) continue;
    const libusb_interface_descriptor& setting = interface.altsetting[0];
    if (setting.bInterfaceNumber != LibusbBackend::kInterface) continue;
    for (int e = 0; e < setting.bNumEndpoints; ++e) {
      const libusb_endpoint_descriptor& ep = setting.endpoint[e];
      if ((ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK) continue;
      bool is_in = (ep.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
      if (is_in && in == 0) in = ep.bEndpointAddress;
      if (!is_in && out == 0) out = ep.bEndpointAddress;
    }
    break;
  }
  libusb_free_config_descriptor(config);
  return in != 0 && out != 0;
}

}  // namespace

LibusbBackend::LibusbBackend() {
  const char* debug = std::getenv("QUENLET_USB_DEBUG");
  debug_ = debug && *debug;
  if (libusb_init(&context_) != 0) context_ = nullptr;
}

LibusbBackend::~LibusbBackend() {
  Close();
  FreeList();
  if (context_) libusb_exit(context_);
}

void LibusbBackend::FreeList() {
  if (list_) libusb_free_device_list(list_, 1);
  list_ = nullptr;
  count_ = 0;
}

int LibusbBackend::Enumerate() {
  if (!context_) return 0;
  FreeList();
  ssize_t n = libusb_get_device_list(context_, &list_);
  if (n < 0) {
    list_ = nullptr;
    return 0;
  }
  count_ = n > INT_MAX ? INT_MAX : static_cast<int>(n);
  return count_;
}

bool LibusbBackend::ReadDeviceDescriptor(int number, DeviceDescriptor& descriptor) {
  if (!list_ || number < 0 || number >= count_) return false;
  libusb_device_descriptor d{};
  if (libusb_get_device_descriptor(list_[number], &d) != 0) return false;
  descriptor = {d.bLength,
                d.bDescriptorType,
                static_cast<uint8_t>(d.bcdUSB & 0xFF),
                static_cast<uint8_t>(d.bcdUSB >> 8),
                d.bDeviceClass,
                d.bDeviceSubClass,
                d.bDeviceProtocol,
                d.bMaxPacketSize0,
                static_cast<uint8_t>(d.idVendor & 0xFF),
                static_cast<uint8_t>(d.idVendor >> 8),
                static_cast<uint8_t>(d.idProduct & 0xFF),
                static_cast<uint8_t>(d.idProduct >> 8),
                static_cast<uint8_t>(d.bcdDevice & 0xFF),
                static_cast<uint8_t>(d.bcdDevice >> 8),
                d.iManufacturer,
                d.iProduct,
                d.iSerialNumber,
                d.bNumConfigurations};
  return true;
}

bool LibusbBackend::Open(int number) {
  Close();
  if (!list_ || number < 0 || number >= count_) return false;
  libusb_device* device = list_[number];
  uint8_t in = 0, out = 0;
  if (!FindBulkEndpoints(device, in, out)) return false;
  if (libusb_open(device, &handle_) != 0) {
    handle_ = nullptr;
    return false;
  }
  if (libusb_kernel_driver_active(handle_, kInterface) == 1) {
    // Not ours: taking it from its driver would break that device's work.
    if (debug_) {
      libusb_device_descriptor d{};
      libusb_get_device_descriptor(device, &d);
      std::fprintf(stderr,
                   "quenlet: USB device %03u/%03u (%04x:%04x) passed over: a kernel driver holds "
                   "its interface %d\n",
                   libusb_get_bus_number(device), libusb_get_device_address(device), d.idVendor,
                   d.idProduct, kInterface);
    }
    libusb_close(handle_);
    handle_ = nullptr;
    return false;
  }
  if (libusb_claim_interface(handle_, kInterface) != 0) {
    libusb_close(handle_);
    handle_ = nullptr;
    return false;
  }
  claimed_ = true;
  in_endpoint_ = in;
  out_endpoint_ = out;
  return true;
}

void LibusbBackend::Close() {
  if (!handle_) return;
  if (claimed_) libusb_release_interface(handle_, kInterface);
  libusb_close(handle_);
  handle_ = nullptr;
  claimed_ = false;
  in_endpoint_ = 0;
  out_endpoint_ = 0;
}

int LibusbBackend::ControlTransfer(const VendorRequest& request, uint8_t* data) {
  if (!handle_) return -1;
  if (request.length > 0 && !data) return -1;
  int r = libusb_control_transfer(handle_, request.request_type, request.request, request.value,
                                  request.index, request.length > 0 ? data : nullptr,
                                  request.length, kControlTimeoutMs);
  return r < 0 ? -1 : r;
}

int64_t LibusbBackend::Bulk(uint8_t endpoint, uint8_t* data, uint32_t count) {
  if (!handle_ || (count > 0 && !data) || count > static_cast<uint32_t>(INT_MAX)) return -1;
  int transferred = 0;
  int r = libusb_bulk_transfer(handle_, endpoint, data, static_cast<int>(count), &transferred,
                               kBulkTimeoutMs);
  if (r != 0) return -1;
  return transferred;
}

int64_t LibusbBackend::BulkRead(uint8_t* data, uint32_t count) {
  return Bulk(in_endpoint_, data, count);
}

int64_t LibusbBackend::BulkWrite(const uint8_t* data, uint32_t count) {
  // libusb takes one buffer type for both directions; it only reads an OUT buffer.
  return Bulk(out_endpoint_, const_cast<uint8_t*>(data), count);
}

}  // namespace quenlet
