#include "programmer/simulated_backend.h"

#include "programmer/transport.h"

namespace quenlet {

SimulatedBackend::SimulatedBackend() {
  bus_ = {SimulatedBusDevice{kProgrammerProductId, true}};
}

void SimulatedBackend::SetBus(std::vector<SimulatedBusDevice> devices) {
  Close();
  bus_ = std::move(devices);
  visible_.clear();
}

void SimulatedBackend::SetUnitPresent(bool present) {
  unit_present_ = present;
  if (present) unit_.Replug();
}

bool SimulatedBackend::UnitPresent() const {
  return unit_present_ && !unit_.Pulled();
}

int SimulatedBackend::Enumerate() {
  visible_.clear();
  for (int i = 0; i < static_cast<int>(bus_.size()); ++i) {
    if (bus_[i].is_unit && !UnitPresent()) continue;
    visible_.push_back(i);
  }
  return static_cast<int>(visible_.size());
}

bool SimulatedBackend::ReadDeviceDescriptor(int number, DeviceDescriptor& descriptor) {
  bus_log_.push_back("descriptor " + std::to_string(number));
  if (number < 0 || number >= static_cast<int>(visible_.size())) return false;
  const SimulatedBusDevice& d = bus_[visible_[number]];
  descriptor = {18,
                1,
                0x00,
                0x02,
                0,
                0,
                0,
                64,
                0x34,
                0x12,
                static_cast<uint8_t>(d.product_id & 0xFF),
                static_cast<uint8_t>(d.product_id >> 8),
                0x00,
                0x01,
                1,
                2,
                3,
                1};
  return true;
}

bool SimulatedBackend::Open(int number) {
  Close();
  bus_log_.push_back("open " + std::to_string(number));
  if (number < 0 || number >= static_cast<int>(visible_.size())) return false;
  const int position = visible_[number];
  if (!bus_[position].opens) return false;
  open_position_ = position;
  if (bus_[position].is_unit) unit_.Attached();
  return true;
}

void SimulatedBackend::Close() {
  if (open_position_ < 0) return;
  for (int n = 0; n < static_cast<int>(visible_.size()); ++n) {
    if (visible_[n] == open_position_) bus_log_.push_back("close " + std::to_string(n));
  }
  if (bus_[open_position_].is_unit) unit_.Detached();
  open_position_ = -1;
}

bool SimulatedBackend::UnitReachable() const {
  return open_position_ >= 0 && bus_[open_position_].is_unit && UnitPresent();
}

int SimulatedBackend::ControlTransfer(const VendorRequest& request, uint8_t* data) {
  if (!UnitReachable()) return -1;
  if (followed_device_) FitChipToDevice();
  return unit_.Control(request, data);
}

int64_t SimulatedBackend::BulkRead(uint8_t* data, uint32_t count) {
  return UnitReachable() ? unit_.BulkIn(data, count) : -1;
}

int64_t SimulatedBackend::BulkWrite(const uint8_t* data, uint32_t count) {
  return UnitReachable() ? unit_.BulkOut(data, count) : -1;
}

void SimulatedBackend::FollowDevice(const SelectedDevice* device, const MainFormState* state) {
  followed_device_ = device;
  followed_state_ = state;
  fitted_ = false;
}

void SimulatedBackend::FitChipToDevice() {
  const SelectedDevice& d = *followed_device_;
  VirtualChip& chip = unit_.chip();
  if (!fitted_ || d.IcIniPath != fitted_path_ || d.Name != fitted_name_ ||
      d.Data_Width != fitted_width_) {
    fitted_ = true;
    fitted_path_ = d.IcIniPath;
    fitted_name_ = d.Name;
    fitted_width_ = d.Data_Width;
    chip.SetWordWide(d.Width() == DataWidth::Word);
    chip.InsertBlank();
  }
  // These come from the record as it stands, which a load fills in steps.
  chip.set_contacts(d.PinMap);
  if (followed_state_) chip.set_id_codes(followed_state_->ExpectedIdCodes);
}

}  // namespace quenlet
