#include "programmer/protocol.h"

#include <cstring>

#include "platform/strprintf.h"
#include "programmer/reply_text.h"
#include "programmer/transport.h"

namespace quenlet {
namespace {

// Fixed-size IN reply: never hand back stale bytes of an earlier reply.
bool ReadFixed(Transport& transport, uint8_t request, uint8_t* data, uint16_t size) {
  uint16_t received = 0;
  return transport.UsbVendorCmdRead(request, 0, 0, size, data, &received) && received == size;
}

}  // namespace

bool ProgrammerStatus::PinInContact(int pin) const {
  if (pin < 1 || pin > 48) return false;
  const int bit = pin - 1;
  return (bytes[2 + bit / 8] >> (bit % 8)) & 1;
}

bool HardwareInfoReply::IsProgrammerModel() const {
  return std::memcmp(bytes.data() + 10, kProgrammerModel, 9) == 0;
}

std::string HardwareInfoReply::HardwareType() const {
  return strprintf("%02X%02X", bytes[0], bytes[1]);
}

std::string HardwareInfoReply::SerialNumber() const {
  return strprintf("2K%X%02X%02X%02X", bytes[2], bytes[3], bytes[4], bytes[5]);
}

std::string HardwareInfoReply::FirmwareVersion() const {
  return UpToNul(bytes.data() + 6, 4);
}

std::string HardwareInfoReply::ModelName() const {
  return UpToNul(bytes.data() + 10, 10);
}

bool SendRequest(Transport& transport, uint8_t code, uint16_t value, uint16_t index) {
  return transport.UsbVendorCmdWrite(code, value, index, 0, nullptr);
}

bool RunOperation(Transport& transport, uint8_t number) {
  return SendRequest(transport, request::kRun, kRunOperationValue, OperationIndex(number));
}

bool ReadProgrammerStatus(Transport& transport, ProgrammerStatus& status) {
  ProgrammerStatus reply;
  if (!ReadFixed(transport, request::kStatus, reply.bytes.data(), ProgrammerStatus::kSize)) {
    return false;
  }
  status = reply;
  return true;
}

bool ReadHardwareInfo(Transport& transport, HardwareInfoReply& reply) {
  HardwareInfoReply got;
  if (!ReadFixed(transport, request::kHardwareInfo, got.bytes.data(), HardwareInfoReply::kSize)) {
    return false;
  }
  reply = got;
  return true;
}

}  // namespace quenlet
