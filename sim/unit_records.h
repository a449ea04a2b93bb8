#pragma once
// The fixed records the simulated unit answers with: its identification
// reply, firmware record, component records and self-test report.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "programmer/protocol.h"

namespace quenlet {

// Identification reply with `model` in bytes 10-19 (padded with blanks, cut
// to 10 characters), hardware state word 0.
HardwareInfoReply SimulatedIdentification(const std::string& model = kProgrammerModel);

// Firmware record of request 0x4D: name (10), version (4), state (2), then
// the component count (2, little-endian).
std::vector<uint8_t> SimulatedFirmwareRecord(uint16_t components);

// Component records of request 0x4B IN: 20 bytes per component.
std::vector<uint8_t> SimulatedComponentRecords(uint16_t components);

// A self-test report of 512 bytes with every item passed: 18 lines of 16
// bytes, "Selftest" first, each line an item name, a colon and "-Pass-".
using SelfTestReport = std::array<uint8_t, 512>;
SelfTestReport PassingSelfTestReport();
// Replaces line `line` (0..17) with `name` + ":" + the raw result bytes.
void SetSelfTestLine(SelfTestReport& report, int line, const std::string& name,
                     const std::vector<uint8_t>& result);

}  // namespace quenlet
