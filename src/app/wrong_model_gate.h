#pragma once
// Once a programmer of another model has answered the identification, the
// program is closing and sends that device nothing more: every open fails and
// every transfer fails without reaching the USB stack. One gate below the
// transport, so no caller (a device load, a reconnect, an operation started
// before the close arrives) can get past it.
#include "platform/usb_backend.h"
#include "state/main_form_state.h"

namespace quenlet {

class WrongModelGate : public UsbBackend {
 public:
  WrongModelGate(UsbBackend& inner, const MainFormState& state) : inner_(inner), state_(state) {}

  int Enumerate() override { return Shut() ? 0 : inner_.Enumerate(); }
  bool ReadDeviceDescriptor(int number, DeviceDescriptor& descriptor) override {
    return !Shut() && inner_.ReadDeviceDescriptor(number, descriptor);
  }
  bool Open(int number) override { return !Shut() && inner_.Open(number); }
  void Close() override { inner_.Close(); }
  int ControlTransfer(const VendorRequest& request, uint8_t* data) override {
    return Shut() ? -1 : inner_.ControlTransfer(request, data);
  }
  int64_t BulkRead(uint8_t* data, uint32_t count) override {
    return Shut() ? -1 : inner_.BulkRead(data, count);
  }
  int64_t BulkWrite(const uint8_t* data, uint32_t count) override {
    return Shut() ? -1 : inner_.BulkWrite(data, count);
  }

 private:
  bool Shut() const { return state_.WrongProgrammer == 1; }

  UsbBackend& inner_;
  const MainFormState& state_;
};

}  // namespace quenlet
