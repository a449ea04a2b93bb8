#include "programmer/backend_choice.h"

#include <cstdlib>
#include <cstring>

#include "platform/libusb_backend.h"
#include "programmer/simulated_backend.h"

namespace quenlet {

BackendChoice ChooseUsbBackend(const char* programmer) {
  BackendChoice choice;
  if (programmer && std::strcmp(programmer, "sim") == 0) {
    auto simulated = std::make_unique<SimulatedBackend>();
    choice.simulated = simulated.get();
    choice.backend = std::move(simulated);
  } else {
    choice.backend = std::make_unique<LibusbBackend>();
  }
  return choice;
}

BackendChoice ChooseUsbBackendFromEnvironment() {
  return ChooseUsbBackend(std::getenv("QUENLET_PROGRAMMER"));
}

}  // namespace quenlet
