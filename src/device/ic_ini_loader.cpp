#include "device/ic_ini_loader.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "device/device_loader_link.h"
#include "platform/ini_snapshot.h"
#include "platform/int_text.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "platform/text_compare.h"
#include "platform/user_interfaces.h"
#include "state/buffer_limits.h"
#include "state/main_form_state.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

// Data_DoNotCare was a 12-byte array in the record's stored layout.
constexpr size_t kDataDoNotCareLength = 11;
constexpr uint8_t kVccPinRelaxed = 255;  // Vcc_pin2 marker for the pin-contact check
constexpr int kSocketPins = 48;

// A value the device file gives that must not reach the programmer.
class DeviceFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The keys of section VK_KZExternValue, from one reading of the file: a
// load asks over a hundred keys, and a device file may be large. A file that
// does not exist, or a path the resolver refuses, reads as empty: every key
// takes its default.
class KeyReader {
 public:
  explicit KeyReader(const std::optional<std::string>& path) {
    if (path) ini_.emplace(*path);
  }
  bool HasDeviceSection() const { return ini_ && ini_->SectionExists(kIcIniSection); }
  std::string Text(const char* key, const char* default_value) const {
    return ini_ ? ini_->ReadString(kIcIniSection, key, default_value) : default_value;
  }
  // Numbers raise ConversionError on empty or non-numeric text.
  int32_t Number(const char* key) const { return StrToInt(Text(key, "0")); }
  uint16_t Word(const char* key) const { return static_cast<uint16_t>(Number(key)); }
  uint8_t Byte(const char* key) const { return static_cast<uint8_t>(Number(key)); }
  int32_t Integer(const char* key, int32_t default_value) const {
    return ini_ ? ini_->ReadInteger(kIcIniSection, key, default_value) : default_value;
  }

 private:
  std::optional<IniSnapshot> ini_;
};

// The run-state fields that only the loader writes, parsed apart from the
// run state so that a failed load leaves them untouched.
struct DeviceStateFields {
  std::array<uint8_t, 4> ExpectedIdCodes{};
  uint32_t VccPinRaw = 0;
  uint8_t FuseMode = 0;
  uint32_t FuseRows = 0;
  uint32_t FuseColumns = 0;
  uint8_t PackagePins = 0;
  uint32_t FuseCount = 0;

  static DeviceStateFields From(const MainFormState& s) {
    return {s.ExpectedIdCodes, s.VccPinRaw,   s.FuseMode, s.FuseRows,
            s.FuseColumns,     s.PackagePins, s.FuseCount};
  }
  void CommitTo(MainFormState& s) const {
    s.ExpectedIdCodes = ExpectedIdCodes;
    s.VccPinRaw = VccPinRaw;
    s.FuseMode = FuseMode;
    s.FuseRows = FuseRows;
    s.FuseColumns = FuseColumns;
    s.PackagePins = PackagePins;
    s.FuseCount = FuseCount;
  }
};

// A pin key as written and as a number.
struct PinValue {
  const char* key;
  std::string text;
  int32_t value;
};

PinValue ReadPin(const KeyReader& keys, const char* key) {
  std::string text = keys.Text(key, "0");
  const int32_t value = StrToInt(text);
  return {key, std::move(text), value};
}

// Socket position of a pin; a position off the socket would put a supply or
// ground on the wrong socket pin, so the device is refused. The full value is
// checked: 300 is no pin, not pin 44.
uint8_t MovedPin(const PinValue& pin, uint8_t package_pins) {
  if (auto socket = SocketPin(pin.value, package_pins)) return *socket;
  throw DeviceFileError(strprintf("%s=%s lies outside socket pins 1 to %d (PIN=%u).", pin.key,
                                  pin.text.c_str(), kSocketPins, unsigned{package_pins}));
}

void ReadCurrentVoltages(const KeyReader& keys, int32_t operation, DeviceParameterBlock& block) {
  static constexpr const char* kPrefixes[] = {"read_",    "program_", "erase_",
                                              "protect_", "id_",      "test_"};
  if (operation < 0 || operation > 5) return;  // the words stay 0
  const std::string prefix = kPrefixes[operation];
  block.SetCurrentVoltages(keys.Word((prefix + "vcc").c_str()), keys.Word((prefix + "vpp").c_str()),
                           keys.Word((prefix + "vhh").c_str()));
}

void ReadPins(const KeyReader& keys, DeviceParameterBlock& block, DeviceStateFields& fields) {
  using B = DeviceParameterBlock;
  const PinValue gnd2 = ReadPin(keys, "Gnd_pin2");
  const PinValue gnd1 = ReadPin(keys, "Gnd_pin1");
  const uint8_t package_pins = keys.Byte("PIN");
  fields.PackagePins = package_pins;
  block.bytes[B::kGndPin1] = MovedPin(gnd1, package_pins);
  block.bytes[B::kGndPin2] = MovedPin(gnd2, package_pins);

  const PinValue vcc2 = ReadPin(keys, "Vcc_pin2");
  fields.VccPinRaw = static_cast<uint8_t>(vcc2.value);
  const PinValue vcc1 = ReadPin(keys, "Vcc_pin1");
  block.bytes[B::kVccPin1] = MovedPin(vcc1, package_pins);
  // The relaxed-check marker is no pin: it must never be moved onto one.
  block.bytes[B::kVccPin2] =
      vcc2.value == kVccPinRelaxed ? kVccPinRelaxed : MovedPin(vcc2, package_pins);
}

void BuildInformationText(const KeyReader& keys, SelectedDevice& d) {
  d.IcInformationText.clear();
  d.IcInformationLines[0] = "IC Information : ";
  d.IC_Information1 = keys.Text("IC_Information1", "None");
  d.IcInformationLines[1] = keys.Text("IC_Information2", "None");
  d.IcInformationLines[2] = keys.Text("IC_Information3", "None");
  d.IcInformationLines[3] = keys.Text("IC_Information4", "None");
  d.IcInformationLines[4] = keys.Text("IC_Information5", "None");

  d.IcInformationText = d.IcInformationLines[0] + "\n";
  const std::string* lines[] = {&d.IC_Information1, &d.IcInformationLines[1],
                                &d.IcInformationLines[2], &d.IcInformationLines[3]};
  for (const std::string* line : lines) {
    if (*line == "None") return;  // the first "None" ends the note
    d.IcInformationText += *line + "\n";
  }
  if (d.IcInformationLines[4] != "None") d.IcInformationText += d.IcInformationLines[4];
}

// Everything after the driver upload, into the fresh copies `d` and `fields`.
void ReadDevice(const KeyReader& keys, const std::string& program_dir, int32_t operation,
                uint16_t block_number, uint16_t address_in_block, const std::string& fpga_file,
                const std::string& user_wav, SelectedDevice& d, DeviceStateFields& fields) {
  using B = DeviceParameterBlock;
  B& block = d.Block;

  const std::string pin_scan_fpga = keys.Text("PinScanFPGA", "None");
  const std::string pin_scan_drv = keys.Text("PinScanDRV", "None");
  d.BRAND = keys.Text("BRAND", "None");
  d.Name = keys.Text("Name", "None");
  d.Type = keys.Text("Type", "None");
  d.IniVersion = keys.Byte("IniVersion");
  d.UserEdit = keys.Text("UserEdit", "MainEdit");

  d.start_address_Hi = keys.Text("start_address_Hi", "0");
  block.SetWord(B::kStartAddressHi, static_cast<uint16_t>(StrToInt(d.start_address_Hi)));
  block.SetWord(B::kStartAddressLow, keys.Word("start_address_Low"));
  d.StartAddress =
      (uint32_t{block.Word(B::kStartAddressHi)} << 16) | block.Word(B::kStartAddressLow);

  const char* id_keys[] = {"ManCode", "DevCode", "ExtIDCode1", "ExtIDCode2"};
  for (size_t i = 0; i < 4; ++i)
    fields.ExpectedIdCodes[i] = IdCodeByte(keys.Text(id_keys[i], "None"));

  d.Data_DoNotCare = keys.Text("Data_DoNotCare", "None").substr(0, kDataDoNotCareLength);
  d.Data_Width = keys.Text("Data_Width", "0");

  block.SetWord(B::kBlockAddress, address_in_block);
  block.SetWord(B::kBlockNumber, block_number);

  block.SetWord(B::kMaxAddressHi, keys.Word("max_address_Hi"));
  block.SetWord(B::kMaxAddressLow, keys.Word("max_address_Low"));
  block.SetWord(B::kExtAddressHi, keys.Word("ext_address_Hi"));
  block.SetWord(B::kExtAddressLow, keys.Word("ext_address_Low"));

  fields.FuseColumns = static_cast<uint32_t>(keys.Number("fuse_row"));
  fields.FuseRows = static_cast<uint32_t>(keys.Number("fuse_col"));
  fields.FuseCount = block.MaxAddress();
  d.Intact = keys.Integer("Intact", 0);
  fields.FuseMode = (fields.FuseRows != 0 && fields.FuseColumns != 0) ? 1 : 0;

  const DeviceSizes sizes = DeviceSizesFor(block.MaxAddress(), block.ExtAddress(), d.Width());
  if (sizes.buffer_size) {
    if (*sizes.buffer_size > kMaxBufferSize) {
      throw DeviceFileError(strprintf(
          "The device needs a data buffer of %llu bytes; at most %llu bytes are supported.",
          static_cast<unsigned long long>(*sizes.buffer_size),
          static_cast<unsigned long long>(kMaxBufferSize)));
    }
    d.IcBufferSize = static_cast<uint32_t>(*sizes.buffer_size);
    d.IcDeviceSize = static_cast<uint32_t>(*sizes.device_size);
  }
  block.SetWord(B::kBlockLength, sizes.block_length);

  block.SetWord(B::kIdAddress, keys.Word("id_address"));
  block.SetWord(B::kId1Address, keys.Word("id1_address"));
  block.SetWord(B::kId2Address, keys.Word("id2_address"));
  block.SetWord(B::kId3Address, keys.Word("id3_address"));

  // The block takes the whole number, the record only its kind digit.
  const std::string fuse_type = keys.Text("Option_Fuse_Type", "0");
  block.SetWord(B::kOptionFuseType, static_cast<uint16_t>(StrToInt(fuse_type)));
  d.Option_Fuse_Type = OptionFuseTypeDigit(fuse_type);

  static constexpr const char* kVoltageKeys[kVoltageCount] = {
      "id_vcc",      "id_vpp",      "id_vhh",      "read_vcc",    "read_vpp",
      "read_vhh",    "erase_vcc",   "erase_vpp",   "erase_vhh",   "program_vcc",
      "program_vpp", "program_vhh", "protect_vcc", "protect_vpp", "protect_vhh"};
  for (int i = 0; i < kVoltageCount; ++i) d.OperationVoltages[i] = keys.Word(kVoltageKeys[i]);
  ReadCurrentVoltages(keys, operation, block);

  block.SetWord(B::kVc2, keys.Word("vc2"));
  block.SetWord(B::kVp2, keys.Word("vp2"));
  block.SetWord(B::kVh2, keys.Word("vh2"));

  ReadPins(keys, block, fields);

  static constexpr const char* kModeKeys[] = {"read_mode", "erase_mode",  "blank_mode",
                                              "prog_mode", "verify_mode", "prot_mode",
                                              "test_mode", "id_mode"};
  for (size_t i = 0; i < 8; ++i) block.SetWord(B::kReadMode + 2 * i, keys.Word(kModeKeys[i]));

  d.program_pulse = keys.Word("program_pulse");
  d.erase_pulse = keys.Word("erase_pulse");
  block.SetWord(B::kProgramPulse, d.program_pulse);
  block.SetWord(B::kErasePulse, d.erase_pulse);
  block.SetWord(B::kProtectPulse, keys.Word("protect_pulse"));
  block.SetWord(B::kUnprotectPulse, keys.Word("unprotect_pulse"));

  d.OptionPageIni = keys.Text("Menu", "0");

  d.program_times = keys.Word("program_times");
  block.SetWord(B::kProgramTimes, d.program_times);
  block.SetWord(B::kEraseTimes, keys.Word("erase_times"));
  block.SetWord(B::kProtectTimes, keys.Word("protect_times"));
  block.SetWord(B::kUnprotectTimes, keys.Word("unprotect_times"));
  // Held in the record only; bytes 80-81 stay 0 as the firmware has them.
  d.program_retry = keys.Word("program_retry");
  block.SetWord(B::kEraseRetry, keys.Word("erase_retry"));
  block.SetWord(B::kProtectRetry, keys.Word("protect_retry"));
  block.SetWord(B::kUnprotectRetry, keys.Word("unprotect_retry"));
  block.SetWord(B::kProtAddress, keys.Word("prot_address"));
  block.SetWord(B::kCurrentLimit, keys.Word("Current_Limit"));
  block.SetWord(B::kPara1, keys.Word("para1"));
  block.SetWord(B::kPara2, keys.Word("para2"));
  block.SetWord(B::kUnprotectMode, keys.Word("unprotect_mode"));
  block.SetWord(B::kPageSize, keys.Word("page_size"));

  BuildInformationText(keys, d);

  const std::string pin_def = keys.Text("AllPinDef", "None");
  d.PinMap = DecodePinDefinition(pin_def.size() >= 18 ? std::string_view(pin_def).substr(4, 14)
                                                      : std::string_view());

  // Stored form; the link and the existence test resolve them.
  const std::string folder = program_dir + "FPGA\\";
  d.SupportFilePaths[kFpgaFile] = folder + fpga_file;
  d.SupportFilePaths[kUserWav] = folder + user_wav;
  d.SupportFilePaths[kPinScanDrv] = folder + pin_scan_drv;
  d.SupportFilePaths[kPinScanFpga] = folder + pin_scan_fpga;
}

}  // namespace

std::array<uint8_t, 48> DecodePinDefinition(std::string_view digits) {
  std::array<uint8_t, 48> map{};
  if (digits.size() != 14) return map;
  uint64_t d = 0;
  for (char c : digits) {
    const int v = HexDigitValue(c);
    if (v < 0) return map;
    d = (d << 4) | static_cast<uint64_t>(v);
  }
  for (size_t i = 0; i < map.size(); ++i) map[i] = static_cast<uint8_t>((d >> (53 - i)) & 1);
  return map;
}

uint8_t IdCodeByte(std::string_view text) {
  if (SameTextNoCase(text, "NONE")) return 0;
  size_t first;
  if (text.size() == 2) {
    first = 0;
  } else if (text.size() >= 4) {
    first = 2;
  } else {
    return 0;
  }
  const int high = HexDigitValue(text[first]);
  const int low = HexDigitValue(text[first + 1]);
  if (high < 0 || low < 0) return 0;
  return static_cast<uint8_t>(high * 16 + low);
}

uint16_t OptionFuseTypeDigit(std::string_view text) {
  if (text.size() < 2) return 0;
  // Only a lower-case 'x' moves the digit to the fourth character: in "0X13"
  // the counted character is the 'X', which is no digit.
  const size_t at = text[1] == 'x' ? 3 : 1;
  if (at >= text.size()) return 0;
  const int v = HexDigitValue(text[at]);
  return v < 0 ? 0 : static_cast<uint16_t>(v);
}

DeviceSizes DeviceSizesFor(uint32_t max_address, uint32_t ext_address, DataWidth width) {
  DeviceSizes s;
  const uint64_t n = uint64_t{max_address} + uint64_t{ext_address} + 1;
  s.address_count = n;
  const bool single_page = n < 0x10000;
  s.block_length = single_page ? static_cast<uint16_t>(n) : 0;
  switch (width) {
    case DataWidth::Word:
      s.buffer_size = single_page ? 0x20000 : 2 * n;
      s.device_size = 2 * n;
      break;
    case DataWidth::Byte:
      s.buffer_size = single_page ? 0x10000 : n;
      s.device_size = n;
      break;
    case DataWidth::Neither:
      break;
  }
  return s;
}

std::string DeviceFileProblem(const ProgramPaths& paths, const std::string& ic_ini_path) {
  std::string shown = ic_ini_path;
  std::replace(shown.begin(), shown.end(), '\\', '/');
  const std::optional<std::string> file = paths.Resolve(ic_ini_path);
  if (!file || !paths.FileExists(ic_ini_path)) {
    return strprintf(op_text::kCannotOpenFileFormat, shown.c_str());
  }
  const IniSnapshot ini(*file);
  if (!ini.FileRead()) return strprintf(op_text::kCannotOpenFileFormat, shown.c_str());
  if (!ini.SectionExists(kIcIniSection)) {
    return strprintf(op_text::kNoDeviceSectionFormat, shown.c_str());
  }
  return {};
}

std::optional<uint8_t> SocketPin(int64_t package_pin, uint8_t package_pins) {
  if (package_pin == 0) return uint8_t{0};
  if (package_pin < 0) return std::nullopt;
  const int64_t socket = package_pin + 24 - package_pins / 2;
  if (socket < 1 || socket > kSocketPins) return std::nullopt;
  return static_cast<uint8_t>(socket);
}

IcLoadOutcome IcIniLoader::LoadIcParameters(int32_t operation, uint16_t block_number,
                                            uint16_t address_in_block) {
  SelectedDevice next = device_;
  if (state_.RestoringSession != 1 && next.KeepIcIniPath == 0)
    next.IcIniPath = next.SelectedIcIniPath;
  if (next.IcIniPath.empty()) {
    device_.IcIniPath.clear();
    return {IcLoadStatus::EmptyPath, {}};
  }
  next.Block.Clear();

  // A device file that is not there, or holds no device section, describes
  // no device: its all-default values must never pass as one. The load goes
  // on all the same, so that the programmer is identified and the driver
  // goes out as on every load.
  const std::optional<std::string> file = paths_.Resolve(next.IcIniPath);
  const KeyReader keys(paths_.FileExists(next.IcIniPath) ? file : std::nullopt);
  const bool no_device_file = !keys.HasDeviceSection();
  const std::string fpga_file = keys.Text("FPGAFile", "None");
  const std::string user_wav = keys.Text("UserWav", "None");
  // The driver goes out before the rest of the file is looked at.
  const bool driver_sent = link_.SendDriverFile(state_, user_wav);
  if (state_.WrongProgrammer != 0) return {IcLoadStatus::WrongProgrammer, {}};

  DeviceStateFields fields = DeviceStateFields::From(state_);
  try {
    ReadDevice(keys, state_.ProgramDir, operation, block_number, address_in_block, fpga_file,
               user_wav, next, fields);
  } catch (const ConversionError& e) {
    messages_.ShowError(e.what());
    return {IcLoadStatus::Failed, e.what(), driver_sent};
  } catch (const DeviceFileError& e) {
    messages_.ShowError(e.what());
    return {IcLoadStatus::Failed, e.what(), driver_sent};
  }

  next.MissingFileCount = 0;
  for (SupportFile f : {kUserWav, kFpgaFile, kPinScanDrv, kPinScanFpga}) {
    if (!paths_.FileExists(next.SupportFilePaths[f])) {
      next.MissingFileCount = 1;
      break;
    }
  }

  next.HoldsNoDevice = no_device_file;
  device_ = std::move(next);
  fields.CommitTo(state_);
  if (no_device_file) return {IcLoadStatus::NoDeviceFile, {}, driver_sent};
  if (device_.MissingFileCount != 0) return {IcLoadStatus::MissingSupportFile, {}, driver_sent};

  const auto& p = device_.SupportFilePaths;
  link_.LoadDeviceAlgorithm(state_, p[kFpgaFile], p[kUserWav], p[kPinScanDrv], p[kPinScanFpga]);
  return {IcLoadStatus::Loaded, {}, driver_sent};
}

}  // namespace quenlet
