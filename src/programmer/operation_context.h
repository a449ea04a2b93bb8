#pragma once
// What every device operation works with. The application object owns each
// part and hands the operations one context; tests build one from fakes and
// the simulated unit.
#include <cstdint>
#include <functional>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "device/selected_device.h"
#include "platform/user_interfaces.h"
#include "programmer/operation_guard.h"
#include "programmer/programmer_link.h"
#include "programmer/step_pictures.h"
#include "state/main_form_state.h"

namespace quenlet {

class IcIniLoader;

// Refills the selected-device record (and its parameter block) from the
// device's IC INI file; every operation does this first. False when the
// record was not refilled (no file chosen, a bad value, another programmer
// model) or the driver upload of the load failed; the loader or the upload
// has shown why. A record refilled without a device file
// is marked HoldsNoDevice, and the operation refuses it.
class DeviceReload {
 public:
  virtual ~DeviceReload() = default;
  virtual bool Reload() = 0;
};

// The reload of the program: the IC INI loader with the operation number,
// block number and address that every caller passes (all 0).
class IcIniReload : public DeviceReload {
 public:
  explicit IcIniReload(IcIniLoader& loader) : loader_(loader) {}
  bool Reload() override;

 private:
  IcIniLoader& loader_;
};

// The option-page window's two calls of the read paths (it fills its pages
// from the programmer's option block). May be absent.
class OptionPageHooks {
 public:
  virtual ~OptionPageHooks() = default;
  // Takes the option values from InfoBlock.
  virtual void StoreUserPageValues() = 0;
  // Reads the user page from the device after a read of an option device;
  // false after its failure was shown.
  virtual bool ReadUserPageFromDevice() = 0;
};

// Results the operations leave for the step handlers and run sequences.
struct OperationRecord {
  // 1 after a complete device read, 0 after a failed read; the read step's
  // automatic confirm tests it.
  uint8_t ReadDataValid = 0;
  // The running operation (1 read, 2 confirm, 5 program, 6 verify) and its
  // caller kind; kept for the window, nothing reads them back.
  int32_t StepCode = 0;
  int32_t StepCaller = 0;
  // Set while a sequence holds back the Pass picture; cleared by a core that
  // passed under DeferPassImage.
  int32_t DeferPassPending = 0;
  // Sum of the bytes the current device read has brought into the buffer
  // (main and second area); the checksum field shows it after a read.
  uint32_t ReadSum = 0;
  // Bytes that differed in the last compare (verify, confirm).
  uint64_t Mismatches = 0;
};

struct OperationContext {
  MainFormState& state;
  SelectedDevice& device;
  DeviceReload& reload;
  DataBuffer& buffer;
  FuseMap& fuse_map;
  ProgrammerLink& link;
  StepPictures& view;
  Messages& messages;
  Sound& sound;
  EventPump& pump;
  Progress& progress;
  StepBusyFlags& busy;
  OperationLock& lock;
  OperationRecord& record;
  OptionPageHooks* option_pages = nullptr;
  // Redraws the buffer editor after a read has changed the buffer.
  std::function<void()> refresh_editor;
};

}  // namespace quenlet
