#pragma once
// The IC INI loader: reads the selected device's IC INI file (section
// VK_KZExternValue) into the selected-device record, its parameter block and
// the device fields of the run state, and has the programmer link upload the
// driver file and build the algorithm image on the way.
//
// A load is all or nothing: the file is read into fresh copies and committed
// only when every value was accepted, so a device file with a bad value leaves
// the previously loaded device in place.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "device/selected_device.h"
#include "platform/hex_digit.h"

namespace quenlet {

class DeviceLoaderLink;
class Messages;
class ProgramPaths;
struct MainFormState;

// The section of the IC INI file the loader reads.
inline constexpr const char* kIcIniSection = "VK_KZExternValue";

// Pin map of the 14 pin-map characters of AllPinDef (its characters 5 to 18):
// entry i (socket pin i + 1) is bit 53 - i of the 56-bit number they spell.
// Anything but exactly 14 hexadecimal digits marks no pin as used.
std::array<uint8_t, 48> DecodePinDefinition(std::string_view digits);

// ID byte of ManCode, DevCode, ExtIDCode1 and ExtIDCode2. "NONE" (any case)
// is 0; two characters are one byte ("1F"); four or more count their third
// and fourth characters only ("0x1F", "0x1F55"). Any other length, or a
// counted character that is not a hex digit, gives 0 (no ID expected).
uint8_t IdCodeByte(std::string_view text);

// The record's Option_Fuse_Type: the fourth character as a hex digit when the
// second is a lower-case 'x', otherwise the second character ("01", "0x01",
// "11", "0x11" all give 1; "0X13" counts the 'X'). A text without that
// character, or one where it is not a hex digit, gives 0.
uint16_t OptionFuseTypeDigit(std::string_view text);

// One row of the size table. N counts the addresses of both memory areas.
struct DeviceSizes {
  uint64_t address_count = 0;           // N = max + ext + 1
  uint16_t block_length = 0;            // block bytes 20-21: N below 65536, else 0
  std::optional<uint64_t> buffer_size;  // none when Data_Width names neither width
  std::optional<uint64_t> device_size;
};
DeviceSizes DeviceSizesFor(uint32_t max_address, uint32_t ext_address, DataWidth width);

// Socket position (1 to 48) of a package pin of a PIN-pin package placed at
// the socket's end by pins 24 and 25: p + 24 - PIN / 2. 0 stays 0 (no pin);
// nullopt when the pin would lie outside the socket.
std::optional<uint8_t> SocketPin(int64_t package_pin, uint8_t package_pins);

// What is wrong with the device file at `ic_ini_path` (a stored path), as
// the operator is told: "Cannot open file" when it is missing or cannot be
// read, the no-section text when it holds no section VK_KZExternValue;
// empty when it describes a device. The path is shown with '/'.
std::string DeviceFileProblem(const ProgramPaths& paths, const std::string& ic_ini_path);

// The operation whose voltages go into CurrentVoltages.
enum class IcOperation : int32_t {
  Read = 0,
  Program = 1,
  Erase = 2,
  Protect = 3,
  IdRead = 4,
  Test = 5
};

enum class IcLoadStatus {
  Loaded,              // every value loaded and the algorithm image built
  MissingSupportFile,  // values loaded, a support file is missing: MissingFileCount 1, no image
                       // built
  NoDeviceFile,        // the device file is missing or has no device section: the driver
                       // went out and MissingFileCount is set as usual, the record holds
                       // defaults marked HoldsNoDevice, no image built; nothing is shown
  EmptyPath,           // no device file chosen: nothing loaded
  WrongProgrammer,     // another programmer model answered: nothing loaded
  Failed,              // the device file holds a bad value: shown, previous device kept
};

struct IcLoadOutcome {
  IcLoadStatus status = IcLoadStatus::Failed;
  std::string message;  // for Failed: the error, already shown through Messages::ShowError
  // Whether the driver went out at the start of the load. A failed upload
  // (shown by the link) leaves the values to load as usual: the start-up
  // restores the device without a unit; an operation must not go on.
  bool driver_sent = false;

  // The record now holds this device's values (a record without a device
  // file holds none).
  bool loaded() const {
    return status == IcLoadStatus::Loaded || status == IcLoadStatus::MissingSupportFile;
  }
};

class IcIniLoader {
 public:
  IcIniLoader(SelectedDevice& device, MainFormState& state, const ProgramPaths& paths,
              DeviceLoaderLink& link, Messages& messages)
      : device_(device), state_(state), paths_(paths), link_(link), messages_(messages) {}

  // Reloads the whole file; nothing is cached between calls. `operation`
  // picks the voltages of CurrentVoltages (numbers above 5 leave them 0);
  // block number and address in block go to block bytes 18-19 and 16-17.
  // Every caller of the program passes 0, 0, 0.
  IcLoadOutcome LoadIcParameters(int32_t operation = 0, uint16_t block_number = 0,
                                 uint16_t address_in_block = 0);

 private:
  SelectedDevice& device_;
  MainFormState& state_;
  const ProgramPaths& paths_;
  DeviceLoaderLink& link_;
  Messages& messages_;
};

}  // namespace quenlet
