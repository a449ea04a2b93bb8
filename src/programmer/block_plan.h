#pragma once
// The block planner: for one device and one data-moving operation, every
// transfer the operation makes, decided once and up front. A plan says how
// many blocks there are, which block comes first, the three page words sent
// with each page (block bytes 16-21), which operation request 0x49 starts,
// how many 32 KB bulk halves move, and where the data bytes of each page lie
// in the data buffer or the fuse map. Nothing here touches the programmer;
// the block engine runs the plan.
//
// Bounds are decided here: the data of a page never reaches past the
// device's extent nor past what the page moves on the wire, and the plan
// says how large the data buffer must be for every mapped index to exist.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/selected_device.h"
#include "state/byte_lane.h"

namespace quenlet {

struct MainFormState;

enum class BlockOperation {
  Program,          // main area from the buffer (or fuse map), operation 5
  ReadBytes,        // main area into the buffer, byte routine, operation 1
  ReadWords,        // main area into the buffer, word routine, operation 1
  Verify,           // main area compared with the buffer after programming, operation 1
  Confirm,          // main area compared with the buffer after a read, operation 1
  Upload,           // the device's data into the programmer's RAM, no operation
  ReadSecondBytes,  // second area, byte routine, operation 0x0D
  ReadSecondWords,  // second area, word routine, operation 0x0D
  ProgramSecond,    // second area, operation 0x0E
  CompareSecond,    // second area compared with the buffer, operation 0x0D
};

enum class DataSource { Buffer, FuseMap };

// What the planner needs of the selected device and the run state.
struct DeviceGeometry {
  DataWidth width = DataWidth::Neither;
  uint16_t max_address_hi = 0;
  uint16_t max_address_low = 0;
  uint16_t ext_address_hi = 0;
  uint16_t ext_address_low = 0;
  uint32_t ic_device_size = 0;
  uint32_t start_address = 0;    // StartAddress
  std::string start_address_hi;  // its high word as the device file wrote it
  bool fuse_mode = false;
  uint32_t fuse_count = 0;
  uint16_t option_fuse_type = 0;  // the record's digit
  ByteLane lane;                  // code 0: every byte

  static DeviceGeometry Of(const SelectedDevice& device, const MainFormState& state);

  // Main-area last address M (device words for word-wide devices).
  uint32_t MainLast() const { return (uint32_t{max_address_hi} << 16) | max_address_low; }
  // Second-area last address E; the area exists when E is not 0.
  uint32_t SecondLast() const { return (uint32_t{ext_address_hi} << 16) | ext_address_low; }
  bool HasSecondArea() const { return SecondLast() != 0; }
};

// Where the device bytes of one page lie: staging byte i (i < count) is byte
// first + i * stride of the source. Staging bytes from count on carry no
// device data (0xFF when sent, ignored when read).
struct DataSpan {
  DataSource source = DataSource::Buffer;
  uint64_t first = 0;
  uint32_t stride = 1;
  uint32_t count = 0;

  friend bool operator==(const DataSpan&, const DataSpan&) = default;
};

// One 64 KB page on the wire.
struct PageTransfer {
  uint16_t block_address = 0;  // block bytes 16-17: 0, or 0x8000 for a word block's second half
  uint16_t block_number = 0;   // bytes 18-19
  uint16_t block_length = 0;   // bytes 20-21
  uint8_t operation = 0;       // request 0x49 operation number; 0 = none is started
  uint8_t bulk_halves = 2;     // 32 KB bulk transfers: 1 = bytes 0-32767 only, 2 = both halves
  // Compares: staging bytes before this one are read but not compared (the
  // bytes of a word-wide device's first block below its start address).
  uint32_t compare_from = 0;
  DataSpan data;

  friend bool operator==(const PageTransfer&, const PageTransfer&) = default;
};

struct BlockPlan {
  BlockOperation operation = BlockOperation::Program;
  uint32_t block_count = 0;  // K
  uint32_t start_block = 0;
  uint16_t block_length = 0;  // L, the same in every page
  uint64_t extent = 0;        // bytes of device data the operation moves
  DataSource source = DataSource::Buffer;
  uint64_t buffer_needed = 0;  // the data buffer must hold this many bytes
  uint64_t fuse_map_needed = 0;
  std::vector<PageTransfer> pages;

  // Data goes to the programmer (program, upload) rather than coming back.
  bool Writes() const;
};

struct PlanOutcome {
  std::optional<BlockPlan> plan;
  std::string error;  // the message for the operator when there is no plan
};

// Messages of the planner's refusals.
inline constexpr const char* kDataWidthError =
    "Data Width Error! The device's Data_Width is neither 0x00FF nor 0xFFFF.";
inline constexpr const char* kNoSecondAreaError = "The device has no second memory area.";
// Formatted with the start_address_Hi text and the block count.
inline constexpr const char* kStartBlockErrorFormat =
    "Start Address Error! Start block '%s' is outside the device's %u blocks.";

PlanOutcome PlanBlocks(const DeviceGeometry& device, BlockOperation operation);

}  // namespace quenlet
