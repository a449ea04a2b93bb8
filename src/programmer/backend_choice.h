#pragma once
// Which USB stack the program talks through: QUENLET_PROGRAMMER=sim in the
// environment selects the simulated unit, anything else the real unit over
// libusb.
#include <memory>

#include "platform/usb_backend.h"

namespace quenlet {

class SimulatedBackend;

struct BackendChoice {
  std::unique_ptr<UsbBackend> backend;
  // The simulated backend when chosen (owned by `backend`), else null.
  SimulatedBackend* simulated = nullptr;
};

// `programmer` is the variable's value (null when it is not set).
BackendChoice ChooseUsbBackend(const char* programmer);
BackendChoice ChooseUsbBackendFromEnvironment();

}  // namespace quenlet
