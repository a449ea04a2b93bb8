#pragma once
// The simulated programmer unit as a USB stack: a small bus of numbered
// devices, one of which is the unit (at number 0 unless told otherwise).
// Requests and bulk blocks go straight to the unit in-process.
#include <cstdint>
#include <string>
#include <vector>

#include "device/selected_device.h"
#include "platform/usb_backend.h"
#include "sim/simulated_unit.h"
#include "state/main_form_state.h"

namespace quenlet {

struct SimulatedBusDevice {
  uint16_t product_id = 0;
  bool is_unit = false;  // the simulated unit (its product id is the programmer's)
  bool opens = true;     // false: open fails (a device held by someone else)
};

class SimulatedBackend : public UsbBackend {
 public:
  SimulatedBackend();

  SimulatedUnit& unit() { return unit_; }

  // The devices the search goes through, in order.
  void SetBus(std::vector<SimulatedBusDevice> devices);
  // No unit on the bus (false) or back (true). A handle opened on the unit
  // before it left fails every transfer. A unit pulled by a transfer fault
  // (TransferFault::Pull) is gone as well until it is set present again.
  void SetUnitPresent(bool present);
  // What the backend was asked, in order: "descriptor 0", "open 2",
  // "close 2".
  const std::vector<std::string>& bus_log() const { return bus_log_; }
  void ClearBusLog() { bus_log_.clear(); }

  // In the program: the socket follows the selected device. Whenever
  // another device is chosen, the socket holds a blank chip of its width;
  // its ID codes and pin contacts are the device's expected ones. Null stops
  // following.
  void FollowDevice(const SelectedDevice* device, const MainFormState* state);

  int Enumerate() override;
  bool ReadDeviceDescriptor(int number, DeviceDescriptor& descriptor) override;
  bool Open(int number) override;
  void Close() override;
  int ControlTransfer(const VendorRequest& request, uint8_t* data) override;
  int64_t BulkRead(uint8_t* data, uint32_t count) override;
  int64_t BulkWrite(const uint8_t* data, uint32_t count) override;

 private:
  bool UnitPresent() const;
  bool UnitReachable() const;
  void FitChipToDevice();

  SimulatedUnit unit_;
  std::vector<SimulatedBusDevice> bus_;
  bool unit_present_ = true;
  std::vector<int> visible_;  // bus positions of the enumerated numbers
  int open_position_ = -1;
  std::vector<std::string> bus_log_;

  const SelectedDevice* followed_device_ = nullptr;
  const MainFormState* followed_state_ = nullptr;
  std::string fitted_path_;
  std::string fitted_name_;
  std::string fitted_width_;
  bool fitted_ = false;
};

}  // namespace quenlet
