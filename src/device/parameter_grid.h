#pragma once
// The device parameters of the option window's grid: read and program Vcc,
// program and erase Vpp in volts, the pulse widths, the write cycle count
// and the retry count, with the limits the unit allows for each.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quenlet {

struct MainFormState;
struct SelectedDevice;

// ParamGridValues := read Vcc, program Vcc, ID Vpp, program Vpp, erase Vpp
// and the four timing words of the record (program_pulse, erase_pulse,
// program_times, program_retry).
void LoadDeviceParamFields(MainFormState& state, const SelectedDevice& device);

using ParameterGridRow = std::array<std::string, 6>;  // description, symbol, min, value, max, units

// The header row and rows 1 to 8 of the grid. The third value (ID Vpp) is
// not shown.
std::vector<ParameterGridRow> ParameterGridRows(const std::array<int32_t, 9>& values,
                                                const SelectedDevice& device);

}  // namespace quenlet
