#pragma once
// Everything the protocol routines work with: the transport, the run state,
// the selected device and what the operator sees. The application owns the
// objects; the link only refers to them.
#include <cstdint>

#include "device/selected_device.h"
#include "platform/user_interfaces.h"
#include "programmer/main_window_control.h"
#include "programmer/step_fail_sink.h"
#include "programmer/step_view.h"
#include "programmer/transport.h"
#include "state/main_form_state.h"

namespace quenlet {

struct ProgrammerLink {
  Transport& transport;
  MainFormState& state;
  SelectedDevice& device;
  Messages& messages;
  StepFailSink& step_fail;
  StepView& steps;
  MainWindowControl& window;
  // State word of the last accepted identification reply; the engineering
  // panel's version request sets it too.
  uint16_t ProgrammerInfoWord = 0;
};

}  // namespace quenlet
