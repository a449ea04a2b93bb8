#include "sim/unit_records.h"

#include <algorithm>
#include <cstring>

namespace quenlet {
namespace {

constexpr size_t kLine = 16;
constexpr int kLines = 18;

// Item names of the 18 report lines; at most 9 characters so that the
// colon and "-Pass-" fit in a 16-byte line.
constexpr std::array<const char*, kLines> kItems = {
    "Selftest", "PullHigh", "PullDown", "LogicIn", "LogicOut", "GndOn", "GndOff", "GndPin", "VppOn",
    "VppOff",   "VppPin",   "VhhOn",    "VhhOff",  "VhhPin",   "VccOn", "VccOff", "VccPin", "VccC"};

void PutText(uint8_t* at, size_t room, const std::string& text) {
  std::memcpy(at, text.data(), std::min(room, text.size()));
}

}  // namespace

HardwareInfoReply SimulatedIdentification(const std::string& model) {
  HardwareInfoReply reply;
  reply.bytes = {0x20, 0x05, 0x01, 0x23, 0x45, 0x67, 'V', '1', '.', '2'};
  std::memset(reply.bytes.data() + 10, ' ', 10);
  PutText(reply.bytes.data() + 10, 10, model);
  reply.bytes[20] = 0;
  reply.bytes[21] = 0;
  return reply;
}

std::vector<uint8_t> SimulatedFirmwareRecord(uint16_t components) {
  std::vector<uint8_t> record(kFirmwareRecordSize, ' ');
  PutText(record.data(), 10, "SIM-UNIT");
  PutText(record.data() + 10, 4, "1.02");
  record[14] = 0;
  record[15] = 0;
  record[16] = static_cast<uint8_t>(components & 0xFF);
  record[17] = static_cast<uint8_t>(components >> 8);
  return record;
}

std::vector<uint8_t> SimulatedComponentRecords(uint16_t components) {
  std::vector<uint8_t> records(size_t{components} * kComponentRecordSize, 0);
  for (size_t c = 0; c < components; ++c) {
    records[c * kComponentRecordSize] = static_cast<uint8_t>(c + 1);
    PutText(records.data() + c * kComponentRecordSize + 1, kComponentRecordSize - 1, "COMPONENT");
  }
  return records;
}

SelfTestReport PassingSelfTestReport() {
  SelfTestReport report;
  report.fill(0);
  for (int line = 0; line < kLines; ++line) {
    uint8_t* at = report.data() + line * kLine;
    std::memset(at, ' ', kLine);
    const std::string text = std::string(kItems[line]) + ":-Pass-";
    PutText(at, kLine, text);
  }
  return report;
}

void SetSelfTestLine(SelfTestReport& report, int line, const std::string& name,
                     const std::vector<uint8_t>& result) {
  if (line < 0 || line >= kLines) return;
  uint8_t* at = report.data() + line * kLine;
  std::memset(at, ' ', kLine);
  const std::string head = name + ":";
  PutText(at, kLine, head);
  if (head.size() < kLine) {
    std::memcpy(at + head.size(), result.data(), std::min(result.size(), kLine - head.size()));
  }
}

}  // namespace quenlet
