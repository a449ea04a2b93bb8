#pragma once
// The 128-byte block of device parameters sent verbatim to the programmer
// before every operation and every page (request 0x47). Little-endian 16-bit
// words, except the four pin bytes 44 to 47.
#include <array>
#include <cstddef>
#include <cstdint>

namespace quenlet {

struct DeviceParameterBlock {
  static constexpr size_t kSize = 128;

  // Byte offsets of the block's fields.
  static constexpr size_t kBlockAddress = 16;  // address within the current page
  static constexpr size_t kBlockNumber = 18;   // number of the current 64 KB page
  static constexpr size_t kBlockLength = 20;   // addresses in the current page
  static constexpr size_t kMaxAddressHi = 22;
  static constexpr size_t kMaxAddressLow = 24;
  static constexpr size_t kExtAddressHi = 26;
  static constexpr size_t kExtAddressLow = 28;
  static constexpr size_t kIdAddress = 30;
  static constexpr size_t kCurrentVcc = 32;  // CurrentVoltages: vcc, vpp, vhh
  static constexpr size_t kCurrentVpp = 34;
  static constexpr size_t kCurrentVhh = 36;
  static constexpr size_t kVc2 = 38;
  static constexpr size_t kVp2 = 40;
  static constexpr size_t kVh2 = 42;
  static constexpr size_t kGndPin1 = 44;  // socket positions, one byte each
  static constexpr size_t kGndPin2 = 45;
  static constexpr size_t kVccPin1 = 46;
  static constexpr size_t kVccPin2 = 47;
  static constexpr size_t kReadMode = 48;  // then erase, blank, prog, verify, prot, test, id
  static constexpr size_t kEraseMode = 50;
  static constexpr size_t kBlankMode = 52;
  static constexpr size_t kProgMode = 54;
  static constexpr size_t kVerifyMode = 56;
  static constexpr size_t kProtMode = 58;
  static constexpr size_t kTestMode = 60;
  static constexpr size_t kIdMode = 62;
  static constexpr size_t kProgramPulse = 64;
  static constexpr size_t kErasePulse = 66;
  static constexpr size_t kProtectPulse = 68;
  static constexpr size_t kUnprotectPulse = 70;
  static constexpr size_t kProgramTimes = 72;
  static constexpr size_t kEraseTimes = 74;
  static constexpr size_t kProtectTimes = 76;
  static constexpr size_t kUnprotectTimes = 78;
  static constexpr size_t kReserved80 = 80;  // no key fills it
  static constexpr size_t kEraseRetry = 82;
  static constexpr size_t kProtectRetry = 84;
  static constexpr size_t kUnprotectRetry = 86;
  static constexpr size_t kProtAddress = 88;
  static constexpr size_t kCurrentLimit = 90;
  static constexpr size_t kPara1 = 92;
  static constexpr size_t kPara2 = 94;
  static constexpr size_t kUnprotectMode = 96;
  static constexpr size_t kPageSize = 98;
  static constexpr size_t kOptionFuseType = 100;
  static constexpr size_t kStartAddressHi = 102;
  static constexpr size_t kStartAddressLow = 104;
  static constexpr size_t kId1Address = 112;
  static constexpr size_t kId2Address = 114;
  static constexpr size_t kId3Address = 116;

  std::array<uint8_t, kSize> bytes{};

  uint16_t Word(size_t offset) const {
    return static_cast<uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
  }
  void SetWord(size_t offset, uint16_t value) {
    bytes.at(offset) = static_cast<uint8_t>(value & 0xFF);
    bytes.at(offset + 1) = static_cast<uint8_t>(value >> 8);
  }
  void Clear() { bytes.fill(0); }

  friend bool operator==(const DeviceParameterBlock&, const DeviceParameterBlock&) = default;

  // Per-page transfer words and the operation's voltages: the only words the
  // operations rewrite between loads.
  void SetPage(uint16_t block_address, uint16_t block_number, uint16_t block_length) {
    SetWord(kBlockAddress, block_address);
    SetWord(kBlockNumber, block_number);
    SetWord(kBlockLength, block_length);
  }
  void SetCurrentVoltages(uint16_t vcc, uint16_t vpp, uint16_t vhh) {
    SetWord(kCurrentVcc, vcc);
    SetWord(kCurrentVpp, vpp);
    SetWord(kCurrentVhh, vhh);
  }

  // Last address of the main area and of the second area (0 = none).
  uint32_t MaxAddress() const {
    return (uint32_t{Word(kMaxAddressHi)} << 16) | Word(kMaxAddressLow);
  }
  uint32_t ExtAddress() const {
    return (uint32_t{Word(kExtAddressHi)} << 16) | Word(kExtAddressLow);
  }
};

}  // namespace quenlet
