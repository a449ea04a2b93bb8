#include "programmer/block_plan.h"

#include <algorithm>

#include "platform/int_text.h"
#include "platform/strprintf.h"
#include "state/main_form_state.h"

namespace quenlet {
namespace {

constexpr uint64_t kPage = 65536;        // one page: a byte-wide block or half a word block
constexpr uint64_t kHalf = 32768;        // one bulk transfer
constexpr uint64_t kWordBlock = 131072;  // a word-wide block: two pages
constexpr uint16_t kSecondHalfAddress = 0x8000;

uint64_t CeilDiv(uint64_t a, uint64_t b) {
  return (a + b - 1) / b;
}

// Blocks that hold `bytes`, at least one.
uint32_t BlocksFor(uint64_t bytes, uint64_t block) {
  return static_cast<uint32_t>(std::max<uint64_t>(1, CeilDiv(bytes, block)));
}

// BlockLength word: the size when it is below 65536, else 0.
uint16_t LengthWord(uint64_t size) {
  return size < kPage ? static_cast<uint16_t>(size) : 0;
}

// Bulk halves a read (or a counted write) moves with `remaining` bytes left.
uint8_t HalvesFor(int64_t remaining) {
  return remaining > static_cast<int64_t>(kHalf) ? 2 : 1;
}

// When the second page (BlockAddress 0x8000) of a word-wide block goes out.
enum class SecondHalf {
  Always,          // every block (a device larger than one page)
  Never,           // a device of at most one page
  WhileRemaining,  // while bytes remain to be read
};

SecondHalf SecondHalfWhenLarger(uint64_t size) {
  return size > kPage ? SecondHalf::Always : SecondHalf::Never;
}

// Lays out where the bytes of one area lie.
struct AreaLayout {
  DataSource source = DataSource::Buffer;
  uint64_t area_start = 0;  // index of the area's first byte before lane mapping
  ByteLane lane;            // applied to byte-wide buffer areas only
  uint64_t extent = 0;      // bytes of the area

  // Span of the page that starts `device_offset` bytes into the area and
  // moves `halves` bulk halves.
  DataSpan Span(uint64_t device_offset, uint8_t halves) const {
    DataSpan span;
    span.source = source;
    const uint64_t left = device_offset < extent ? extent - device_offset : 0;
    span.count = static_cast<uint32_t>(std::min<uint64_t>({left, kPage, halves * kHalf}));
    span.stride = lane.width();
    span.first = (area_start + device_offset) * lane.width() + lane.offset();
    return span;
  }
};

class Planner {
 public:
  Planner(const DeviceGeometry& device, BlockOperation operation) : d_(device) {
    plan_.operation = operation;
  }

  PlanOutcome Build();

 private:
  PlanOutcome Fail(std::string message) {
    PlanOutcome out;
    out.error = std::move(message);
    return out;
  }
  bool StartBlock(uint32_t& start, std::string& error) const;
  void BytePages(const AreaLayout& area, uint8_t operation, int64_t remaining, bool whole_pages);
  void WordPages(const AreaLayout& area, uint8_t operation, int64_t remaining,
                 SecondHalf second_half, bool counted_reads, bool from_start);
  void Finish(const AreaLayout& area);

  const DeviceGeometry& d_;
  BlockPlan plan_;
};

bool Planner::StartBlock(uint32_t& start, std::string& error) const {
  start = 0;
  if (d_.start_address == 0) return true;
  int32_t value = 0;
  try {
    value = StrToInt(d_.start_address_hi.empty() ? "0" : d_.start_address_hi);
  } catch (const ConversionError&) {
    value = -1;
  }
  if (value < 0 || static_cast<uint32_t>(value) >= plan_.block_count) {
    error = strprintf(kStartBlockErrorFormat, d_.start_address_hi.c_str(), plan_.block_count);
    return false;
  }
  start = static_cast<uint32_t>(value);
  return true;
}

// Byte-wide pages b = start .. K - 1. `remaining` is carried from the start
// block and decides the bulk halves of each page, as on the wire; with
// `whole_pages` every page moves both halves.
void Planner::BytePages(const AreaLayout& area, uint8_t operation, int64_t remaining,
                        bool whole_pages) {
  for (uint32_t b = plan_.start_block; b < plan_.block_count; ++b) {
    PageTransfer page;
    page.block_number = static_cast<uint16_t>(b);
    page.block_length = plan_.block_length;
    page.operation = operation;
    page.bulk_halves = whole_pages ? 2 : HalvesFor(remaining);
    page.data = area.Span(uint64_t{b} * kPage, page.bulk_halves);
    remaining -= static_cast<int64_t>(page.bulk_halves * kHalf);
    plan_.pages.push_back(page);
  }
}

// Word-wide blocks b = start .. K - 1, each as a first page (BlockAddress 0)
// and, as `second_half` says, a second page (BlockAddress 0x8000).
//  counted_reads: each page moves halves as far as `remaining` reaches
//    (compares); otherwise both halves.
//  from_start: a first page that begins below StartAddress is compared from
//    the start address on (verify and confirm of the main area).
void Planner::WordPages(const AreaLayout& area, uint8_t operation, int64_t remaining,
                        SecondHalf second_half, bool counted_reads, bool from_start) {
  for (uint32_t b = plan_.start_block; b < plan_.block_count; ++b) {
    for (int half = 0; half < 2; ++half) {
      if (half == 1 && (second_half == SecondHalf::Never ||
                        (second_half == SecondHalf::WhileRemaining && remaining <= 0))) {
        break;
      }
      PageTransfer page;
      page.block_address = half == 0 ? 0 : kSecondHalfAddress;
      page.block_number = static_cast<uint16_t>(b);
      page.block_length = plan_.block_length;
      page.operation = operation;
      page.bulk_halves = counted_reads ? HalvesFor(remaining) : 2;
      page.data = area.Span(uint64_t{b} * kWordBlock + half * kPage, page.bulk_halves);
      // A start address inside this block's first page: that page is still
      // compared, from the start address on, so a changed chip cannot pass.
      const uint64_t page_start = uint64_t{b} * kWordBlock;
      if (from_start && half == 0 && page_start < d_.start_address) {
        page.compare_from = static_cast<uint32_t>(
            std::min<uint64_t>(d_.start_address - page_start, page.data.count));
      }
      remaining -= static_cast<int64_t>(page.bulk_halves * kHalf);
      plan_.pages.push_back(page);
    }
  }
}

void Planner::Finish(const AreaLayout& area) {
  plan_.source = area.source;
  plan_.extent = area.extent;
  uint64_t needed = 0;
  for (const PageTransfer& page : plan_.pages) {
    if (page.data.count == 0) continue;
    needed =
        std::max(needed, page.data.first + uint64_t{page.data.count - 1} * page.data.stride + 1);
  }
  if (area.source == DataSource::Buffer) {
    plan_.buffer_needed = needed;
  } else {
    plan_.fuse_map_needed = needed;
  }
}

PlanOutcome Planner::Build() {
  const BlockOperation op = plan_.operation;
  const uint64_t M = d_.MainLast();
  const uint64_t E = d_.SecondLast();
  const bool word = d_.width == DataWidth::Word;
  const bool byte = d_.width == DataWidth::Byte;
  const bool fuse = d_.fuse_mode;
  const bool lanes = d_.lane.code() != 0;
  const bool oft1 = d_.option_fuse_type == 1;

  // Lane mapping applies to byte-wide buffer data; the fuse map is never
  // lane-mapped.
  AreaLayout main;
  if (fuse) main.source = DataSource::FuseMap;
  auto set_lanes = [&](AreaLayout& a) {
    if (lanes && a.source == DataSource::Buffer) a.lane = d_.lane;
  };

  switch (op) {
    case BlockOperation::Program: {
      if (!byte && !word) return Fail(kDataWidthError);
      if (byte) {
        // The page word counts M bytes (the device's last address); the
        // data is the whole area of M + 1 bytes (the fuses for a fuse device).
        main.extent = fuse ? d_.fuse_count : M + 1;
        set_lanes(main);
        plan_.block_length = LengthWord(M);
        plan_.block_count = BlocksFor(std::max<uint64_t>(M, main.extent), kPage);
      } else {
        main.source = DataSource::Buffer;
        main.extent = 2 * (M + 1);
        plan_.block_length = LengthWord(main.extent);
        plan_.block_count = BlocksFor(main.extent, kWordBlock);
      }
      std::string error;
      if (!StartBlock(plan_.start_block, error)) return Fail(error);
      if (byte) {
        BytePages(main, 0x05, 0, true);
      } else {
        WordPages(main, 0x05, 0, SecondHalfWhenLarger(main.extent), false, false);
      }
      break;
    }
    case BlockOperation::ReadBytes: {
      const uint64_t S = M + 1;
      main.extent = fuse ? d_.fuse_count : S;
      set_lanes(main);
      plan_.block_length = LengthWord(S);
      plan_.block_count = BlocksFor(std::max<uint64_t>(S, main.extent), kPage);
      plan_.start_block = 0;  // the byte routine always reads from block 0
      BytePages(main, 0x01, static_cast<int64_t>(S), false);
      break;
    }
    case BlockOperation::ReadWords: {
      main.source = DataSource::Buffer;
      const uint64_t S = oft1 ? d_.ic_device_size : 2 * (M + 1);
      main.extent = S;
      plan_.block_length = LengthWord(S);
      plan_.block_count = BlocksFor(S, kWordBlock);
      std::string error;
      if (!StartBlock(plan_.start_block, error)) return Fail(error);
      WordPages(main, 0x01, static_cast<int64_t>(S), SecondHalf::WhileRemaining, false, false);
      break;
    }
    case BlockOperation::Verify:
    case BlockOperation::Confirm: {
      if (!byte && !word) return Fail(kDataWidthError);
      const bool confirm = op == BlockOperation::Confirm;
      uint64_t S = 0;
      if (byte) {
        S = confirm ? (oft1 ? d_.ic_device_size : M + 1) : (fuse ? M : M + 1);
        main.extent = fuse ? d_.fuse_count : S;
        set_lanes(main);
        plan_.block_length = LengthWord(S);
        plan_.block_count = BlocksFor(std::max<uint64_t>(S, main.extent), kPage);
      } else {
        main.source = DataSource::Buffer;
        S = confirm && oft1 ? d_.ic_device_size : 2 * (M + 1);
        main.extent = S;
        plan_.block_length = S < kPage ? static_cast<uint16_t>(d_.ic_device_size) : 0;
        plan_.block_count = BlocksFor(S, kWordBlock);
      }
      std::string error;
      if (!StartBlock(plan_.start_block, error)) return Fail(error);
      if (byte) {
        BytePages(main, 0x01, static_cast<int64_t>(S), false);
      } else {
        WordPages(main, 0x01, static_cast<int64_t>(S), SecondHalf::WhileRemaining, true, true);
      }
      break;
    }
    case BlockOperation::Upload: {
      if (!byte && !word) return Fail(kDataWidthError);
      // Both areas as they lie in the buffer, without lanes or fuse map.
      main.source = DataSource::Buffer;
      const uint64_t unit = word ? 2 : 1;
      main.extent = unit * (M + 1) + (E != 0 ? unit * (E + 1) : 0);
      const uint64_t T = uint64_t{d_.ic_device_size} + 1;
      plan_.block_length = LengthWord(T);
      plan_.block_count = BlocksFor(main.extent, word ? kWordBlock : kPage);
      if (byte) {
        BytePages(main, 0, 0, true);
      } else {
        WordPages(main, 0, 0, SecondHalfWhenLarger(T), false, false);
      }
      break;
    }
    case BlockOperation::ReadSecondBytes:
    case BlockOperation::ReadSecondWords:
    case BlockOperation::ProgramSecond:
    case BlockOperation::CompareSecond: {
      if (E == 0) return Fail(kNoSecondAreaError);
      bool area_words = op == BlockOperation::ReadSecondWords;
      if (op == BlockOperation::ProgramSecond || op == BlockOperation::CompareSecond) {
        if (!byte && !word) return Fail(kDataWidthError);
        area_words = word;
      }
      // The second area lies directly behind the main area's bytes, in the
      // same lanes as the main area.
      AreaLayout second;
      second.area_start = area_words ? 2 * (M + 1) : M + 1;
      second.extent = area_words ? 2 * (E + 1) : E + 1;
      if (!area_words) set_lanes(second);
      const uint64_t A = second.extent;
      const uint64_t size = d_.ic_device_size;
      plan_.block_count = BlocksFor(A, area_words ? kWordBlock : kPage);
      plan_.start_block = 0;
      switch (op) {
        case BlockOperation::ReadSecondBytes:
          plan_.block_length = LengthWord(A);
          BytePages(second, 0x0D, static_cast<int64_t>(A), false);
          break;
        case BlockOperation::ReadSecondWords:
          plan_.block_length = LengthWord(A);
          // Operation 0x0D, as the compares read it: operation 1 would be
          // answered from the main area.
          WordPages(second, 0x0D, static_cast<int64_t>(A), SecondHalf::WhileRemaining, false,
                    false);
          break;
        case BlockOperation::ProgramSecond:
          if (area_words) {
            plan_.block_length = size < kPage ? static_cast<uint16_t>(size - 1) : 0xFFFF;
            WordPages(second, 0x0E, 0, SecondHalfWhenLarger(A), false, false);
          } else {
            plan_.block_length = LengthWord(size);
            BytePages(second, 0x0E, static_cast<int64_t>(A), false);
          }
          break;
        default:  // CompareSecond
          plan_.block_length = LengthWord(size);
          if (area_words) {
            WordPages(second, 0x0D, static_cast<int64_t>(A), SecondHalf::WhileRemaining, true,
                      false);
          } else {
            BytePages(second, 0x0D, static_cast<int64_t>(A), false);
          }
          break;
      }
      Finish(second);
      PlanOutcome out;
      out.plan = std::move(plan_);
      return out;
    }
  }
  Finish(main);
  PlanOutcome out;
  out.plan = std::move(plan_);
  return out;
}

}  // namespace

bool BlockPlan::Writes() const {
  return operation == BlockOperation::Program || operation == BlockOperation::Upload ||
         operation == BlockOperation::ProgramSecond;
}

DeviceGeometry DeviceGeometry::Of(const SelectedDevice& device, const MainFormState& state) {
  DeviceGeometry g;
  g.width = device.Width();
  g.max_address_hi = device.Block.Word(DeviceParameterBlock::kMaxAddressHi);
  g.max_address_low = device.Block.Word(DeviceParameterBlock::kMaxAddressLow);
  g.ext_address_hi = device.Block.Word(DeviceParameterBlock::kExtAddressHi);
  g.ext_address_low = device.Block.Word(DeviceParameterBlock::kExtAddressLow);
  g.ic_device_size = device.IcDeviceSize;
  g.start_address = device.StartAddress;
  g.start_address_hi = device.start_address_Hi;
  g.fuse_mode = state.FuseMode == 1;
  g.fuse_count = state.FuseCount;
  g.option_fuse_type = device.Option_Fuse_Type;
  g.lane = state.Lane;
  return g;
}

PlanOutcome PlanBlocks(const DeviceGeometry& device, BlockOperation operation) {
  return Planner(device, operation).Build();
}

}  // namespace quenlet
