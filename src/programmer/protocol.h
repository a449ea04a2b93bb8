#pragma once
// The programmer's request protocol: request codes with their fixed values
// and indexes, the two fixed replies (status and identification) and the
// sizes of the support images. Shared by the host code and the simulated unit.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quenlet {

class Transport;

// Request codes. OUT requests carry no data stage; a bulk block follows the
// bulk-moving ones (0x46, 0x47, 0x4B, 0x4C), whose index is its byte count.
namespace request {
inline constexpr uint8_t kHardwareInfo = 0x41;     // IN, 22 bytes
inline constexpr uint8_t kStatus = 0x42;           // IN, 16 bytes
inline constexpr uint8_t kAnnounce = 0x43;         // OUT, announces an upload
inline constexpr uint8_t kRawRead = 0x44;          // IN, 512 bytes of area 0x0800
inline constexpr uint8_t kRawWordWrite = 0x45;     // OUT, value word address, index data word
inline constexpr uint8_t kAreaRead = 0x46;         // OUT, then a bulk read
inline constexpr uint8_t kAreaWrite = 0x47;        // OUT, then a bulk write
inline constexpr uint8_t kRaw = 0x48;              // OUT, typed by hand
inline constexpr uint8_t kRun = 0x49;              // OUT, runs an operation
inline constexpr uint8_t kPrepare = 0x4A;          // OUT, prepares pin scan or self-test
inline constexpr uint8_t kPageRead = 0x4B;         // OUT then a bulk read; IN: component records
inline constexpr uint8_t kPageWrite = 0x4C;        // OUT, then a bulk write
inline constexpr uint8_t kFirmwareRecord = 0x4D;   // IN, 18 bytes
inline constexpr uint8_t kRestartSelfTest = 0x52;  // OUT
}  // namespace request

// Values (memory areas) and indexes (byte counts) of the bulk-moving requests.
namespace area {
inline constexpr uint16_t kParameters = 0x0B00;  // 0x47, 128 bytes
inline constexpr uint16_t kParametersSize = 0x0080;
inline constexpr uint16_t kDriver = 0x4000;  // 0x47, one 16 KB driver pass
inline constexpr uint16_t kDriverSize = 0x4000;
inline constexpr uint16_t kOptions = 0x0E00;  // 0x46 / 0x47, 256-byte option block
inline constexpr uint16_t kOptionsSize = 0x0100;
inline constexpr uint16_t kRawMemory = 0x0800;  // 0x46 / 0x47 / 0x4C, 512 bytes
inline constexpr uint16_t kRawMemorySize = 0x0200;
inline constexpr uint16_t kProgramTest = 0x0000;  // 0x47, 2048 bytes
inline constexpr uint16_t kProgramTestSize = 0x0800;
inline constexpr uint16_t kPage = 0x8000;  // 0x4B / 0x4C, half of a 64 KB page
inline constexpr uint16_t kPageHalfSize = 0x8000;
inline constexpr uint16_t kSelfTestReportSize = 0x0200;  // 0x4B value 0x8000
}  // namespace area

// Request 0x49: value 0x4000 with the operation number in the index's high
// byte, or value 0x8000 index 0x000F for the pin-contact scan. Request 0x4A
// value 0xA000 prepares the scan (index 0x000F) or the self-test (0x000E).
inline constexpr uint16_t kRunOperationValue = 0x4000;
inline constexpr uint16_t kPinScanValue = 0x8000;
inline constexpr uint16_t kPinScanIndex = 0x000F;
inline constexpr uint16_t kPrepareValue = 0xA000;
inline constexpr uint16_t kPreparePinScanIndex = 0x000F;
inline constexpr uint16_t kPrepareSelfTestIndex = 0x000E;
// Request 0x43 index announcing the algorithm image.
inline constexpr uint16_t kAnnounceAlgorithmIndex = 0x000E;

namespace operation {
inline constexpr uint8_t kRead = 0x01;
inline constexpr uint8_t kErase = 0x02;
inline constexpr uint8_t kBlankCheck = 0x04;
inline constexpr uint8_t kProgram = 0x05;
inline constexpr uint8_t kVerifyHeld = 0x06;
inline constexpr uint8_t kProtect = 0x07;
inline constexpr uint8_t kReadId = 0x09;
inline constexpr uint8_t kChecksumHeld = 0x0B;
inline constexpr uint8_t kChecksumHeldButton = 0x0C;
inline constexpr uint8_t kReadSecondArea = 0x0D;
inline constexpr uint8_t kProgramSecondArea = 0x0E;
}  // namespace operation

inline constexpr uint16_t OperationIndex(uint8_t number) {
  return static_cast<uint16_t>(number << 8);
}

// Support images.
inline constexpr size_t kDriverImageSize = 16384;
inline constexpr int kDriverPasses = 4;
inline constexpr size_t kAlgorithmImageSize = 32768;
inline constexpr size_t kAlgorithmPartSize = 8192;
inline constexpr size_t kAlgorithmFpgaOffset = 0x2000;
inline constexpr size_t kAlgorithmPinScanDrvOffset = 0x4000;
inline constexpr size_t kAlgorithmPinScanFpgaOffset = 0x6000;
inline constexpr const char* kDefaultDriverFile = "39F0x0.drv";

// The firmware record of request 0x4D: name (10 bytes), version (4), state
// word (2), component count (2, little-endian).
inline constexpr uint16_t kFirmwareRecordSize = 18;
// Bytes per component record that follow it (the count of the record).
inline constexpr uint32_t kComponentRecordSize = 20;

// The unit's model string in bytes 10 to 18 of the identification reply.
inline constexpr const char* kProgrammerModel = "VARNEK-TX";

// The 16-byte reply of request 0x42.
struct ProgrammerStatus {
  static constexpr size_t kSize = 16;
  std::array<uint8_t, kSize> bytes{};

  uint8_t OperationErrors() const { return bytes[0]; }
  uint8_t SystemErrors() const { return bytes[1]; }
  bool Clean() const { return bytes[0] == 0 && bytes[1] == 0; }
  // After operations 0x0B / 0x0C.
  uint16_t Checksum() const { return static_cast<uint16_t>(bytes[2] | (bytes[3] << 8)); }
  // After operation 0x09.
  uint8_t ManufacturerCode() const { return bytes[2]; }
  uint8_t DeviceCode() const { return bytes[4]; }
  uint8_t ExtendedCode1() const { return bytes[6]; }
  uint8_t ExtendedCode2() const { return bytes[8]; }
  // After the pin-contact scan: socket pin 1..48 in contact (pin 1 = bit 0 of byte 2).
  bool PinInContact(int pin) const;
  // After the pin-contact scan: non-zero when other than the expected pins answered.
  bool StrayIndication() const { return bytes[8] != 0 || bytes[9] != 0; }
};

// The 22-byte reply of request 0x41.
struct HardwareInfoReply {
  static constexpr size_t kSize = 22;
  std::array<uint8_t, kSize> bytes{};

  // Bytes 10 to 18 are exactly the model string (case-sensitive).
  bool IsProgrammerModel() const;
  uint16_t StateWord() const { return static_cast<uint16_t>(bytes[20] | (bytes[21] << 8)); }

  // As the hardware window and the about box show them.
  std::string HardwareType() const;     // bytes 0, 1 as 4 hex digits
  std::string SerialNumber() const;     // "2K", byte 2 as 1 digit, bytes 3-5 as 2 digits each
  std::string FirmwareVersion() const;  // bytes 6-9 as characters, up to a NUL
  std::string ModelName() const;        // bytes 10-19 as characters, up to a NUL
  std::string StateText() const { return StateWord() == 0 ? "OK" : "Fail"; }
};

// Wire helpers for the requests with a fixed form. Each is one request (plus
// its reply); none shows anything.
bool SendRequest(Transport& transport, uint8_t request, uint16_t value, uint16_t index);
// Request 0x49 with operation `number`.
bool RunOperation(Transport& transport, uint8_t number);
// Request 0x42; a reply shorter than 16 bytes is a failed request.
bool ReadProgrammerStatus(Transport& transport, ProgrammerStatus& status);
// Request 0x41; a reply shorter than 22 bytes is a failed request.
bool ReadHardwareInfo(Transport& transport, HardwareInfoReply& reply);

}  // namespace quenlet
