#pragma once
// The selected device as loaded from its IC INI file. One record lives for the
// whole run; the loader refills it before every device operation.
#include <array>
#include <cstdint>
#include <string>

#include "device/parameter_block.h"

namespace quenlet {

// Indexes into OperationVoltages (tenths of a volt).
enum VoltageIndex : int {
  kIdVcc = 0,
  kIdVpp,
  kIdVhh,
  kReadVcc,
  kReadVpp,
  kReadVhh,
  kEraseVcc,
  kEraseVpp,
  kEraseVhh,
  kProgramVcc,
  kProgramVpp,
  kProgramVhh,
  kProtectVcc,
  kProtectVpp,
  kProtectVhh,
  kVoltageCount
};

// Indexes into SupportFilePaths.
enum SupportFile : int { kFpgaFile = 0, kUserWav = 1, kPinScanDrv = 2, kPinScanFpga = 3 };

// Data_Width texts of the two widths; compared exactly (case-sensitive).
enum class DataWidth { Byte, Word, Neither };

struct SelectedDevice {
  std::array<std::string, 5> IcInformationLines;  // [0] heading, [1..4] IC_Information2..5
  uint8_t DeviceChanged = 0;
  std::array<std::string, 4> SupportFilePaths;  // FPGAFile, UserWav, PinScanDRV, PinScanFPGA
  std::string SelectedIcIniPath;                // chosen in the dialog
  std::string Data_Width;
  std::string UserEdit;
  std::string BRAND;
  std::string Name;
  std::array<std::string, 4> UnitTexts;  // always empty
  std::string Data_DoNotCare;            // at most 11 characters
  DeviceParameterBlock Block;
  std::array<uint16_t, kVoltageCount> OperationVoltages{};
  uint16_t program_pulse = 0;
  uint16_t erase_pulse = 0;
  uint16_t program_times = 0;
  uint16_t program_retry = 0;
  uint8_t MissingFileCount = 0;
  uint8_t IniVersion = 0;
  std::array<uint8_t, 48> PinMap{};  // socket pins 1..48 at indexes 0..47
  std::string Type;
  uint16_t Option_Fuse_Type = 0;  // the hex digit, not the block's number
  uint32_t IcBufferSize = 0;
  uint32_t IcDeviceSize = 0;
  std::string OptionPageIni;  // key Menu; "0" = no option pages
  std::string IcIniPath;      // the file the loader reads
  int32_t KeepIcIniPath = 0;
  int32_t DialogCancelled = 0;
  uint32_t StartAddress = 0;
  std::string IC_Information1;
  std::string IcInformationText;
  std::string start_address_Hi;  // the key's text as read
  int32_t Intact = 0;
  // The last load found no device file (IcIniPath missing, not a regular
  // file, or without the device section): every value is a default and the
  // record holds no device. The device operations refuse it.
  bool HoldsNoDevice = false;

  DataWidth Width() const {
    if (Data_Width == "0xFFFF" || Data_Width == "0xffff") return DataWidth::Word;
    if (Data_Width == "0x00FF" || Data_Width == "0x00ff") return DataWidth::Byte;
    return DataWidth::Neither;
  }
  bool HasSecondArea() const { return Block.ExtAddress() != 0; }
  // The data steps go on into the second area. Not for fuse type 1, whose
  // programmer keeps the data.
  bool SecondAreaFollows() const { return Option_Fuse_Type != 1 && HasSecondArea(); }

  friend bool operator==(const SelectedDevice&, const SelectedDevice&) = default;
};

}  // namespace quenlet
