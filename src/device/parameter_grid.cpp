#include "device/parameter_grid.h"

#include <algorithm>

#include "device/selected_device.h"
#include "platform/strprintf.h"
#include "state/main_form_state.h"

namespace quenlet {
namespace {

constexpr const char* kVolts = "    V";

std::string Volts(int32_t tenths, int digits) {
  return strprintf("%.*g", digits, tenths * 0.1);
}

// Vcc rows: 7 V for devices that read or program above 4 V, else 5 V.
ParameterGridRow VccRow(const char* description, const char* symbol, int32_t value,
                        uint16_t device_vcc) {
  return {description, symbol, "2.5", Volts(value, 2), device_vcc > 40 ? "7" : "5", kVolts};
}

// Vpp rows: 1.2 times the value, capped at 25 V above 14 V and at 13.9 V below.
ParameterGridRow VppRow(const char* description, const char* symbol, int32_t value) {
  const double volts = value * 0.1;
  const double high = volts > 14.0 ? 25.0 : 13.9;
  const std::string max =
      volts * 1.2 > high ? strprintf("%g", high) : strprintf("%.2g", volts * 1.2);
  return {description, symbol, "2.5", Volts(value, 3), max, kVolts};
}

ParameterGridRow TimeRow(const char* description, const char* symbol, int32_t value,
                         const char* units) {
  const int64_t max = std::min<int64_t>(int64_t{value} * 10, 65535);
  return {description,
          symbol,
          "1",
          strprintf("%d", value),
          strprintf("%lld", static_cast<long long>(max)),
          units};
}

}  // namespace

void LoadDeviceParamFields(MainFormState& state, const SelectedDevice& device) {
  const auto& v = device.OperationVoltages;
  state.ParamGridValues = {v[kReadVcc],        v[kProgramVcc],       v[kIdVpp],
                           v[kProgramVpp],     v[kEraseVpp],         device.program_pulse,
                           device.erase_pulse, device.program_times, device.program_retry};
}

std::vector<ParameterGridRow> ParameterGridRows(const std::array<int32_t, 9>& values,
                                                const SelectedDevice& device) {
  const auto& v = device.OperationVoltages;
  return {
      {"                                       Description", " Symbol", "  Min", " Value", "  Max",
       " Units"},
      VccRow("  Supply voltage during read", "    Vcc", values[0], v[kReadVcc]),
      VccRow("  Supply voltage during Program", "    Vccp", values[1], v[kProgramVcc]),
      VppRow("  Vpp supply voltage during Program", "    Vpp", values[3]),
      VppRow("  Vpp supply voltage during erase", "    Vppe", values[4]),
      TimeRow("  Program Pulse width", "    tpw", values[5], "    "),
      TimeRow("  Erase Pulse width", "    tew", values[6], "    "),
      TimeRow("  Write cycle times", "    twc", values[7], "    t"),
      {"  Maximum program Retry number", "     X", "1", strprintf("%d", values[8]), "100", "    t"},
  };
}

}  // namespace quenlet
