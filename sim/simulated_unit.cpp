#include "sim/simulated_unit.h"

#include <algorithm>
#include <cstring>

#include "device/parameter_block.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

constexpr size_t kPageBytes = 65536;
constexpr size_t kHalfBytes = 32768;
// The data RAM holds both areas of the largest chip plus one page of slack
// for a last page that runs past the device's end.
constexpr size_t kMaxRamBytes = 2 * VirtualChip::kMaxAreaBytes + 2 * kPageBytes;
// The host asks for the whole firmware record: name, version, state and the
// component count behind them.

// Status bits the unit reports.
constexpr uint8_t kBlankFail = 0x08;
constexpr uint8_t kProgFail = 0x10;
constexpr uint8_t kVerifyFail = 0x20;
constexpr uint8_t kSystemRunFail = 0x01;
constexpr uint8_t kSystemProtected = 0x04;
constexpr uint8_t kSystemSramFail = 0x40;

bool Is(const VendorRequest& r, uint16_t value, uint16_t index) {
  return r.value == value && r.index == index;
}

void PutWord(ProgrammerStatus& s, size_t at, uint16_t word) {
  s.bytes[at] = static_cast<uint8_t>(word & 0xFF);
  s.bytes[at + 1] = static_cast<uint8_t>(word >> 8);
}

}  // namespace

SimulatedUnit::SimulatedUnit()
    : inbox_(kHalfBytes, 0),
      self_test_report_(PassingSelfTestReport()),
      identification_(SimulatedIdentification()),
      firmware_record_(SimulatedFirmwareRecord(2)),
      component_records_(SimulatedComponentRecords(2)) {
  option_ram_.fill(0xFF);
}

void SimulatedUnit::Attached() {
  log_.Add(WireEntry{WireKind::Open});
}

void SimulatedUnit::Detached() {
  pending_ = {};
  log_.Add(WireEntry{WireKind::Close});
}

// --- faults ---

void SimulatedUnit::FailRequestNumber(int n) {
  fail_request_at_ = n > 0 ? requests_seen_ + static_cast<uint64_t>(n) : 0;
}

void SimulatedUnit::FailRequest(uint8_t code, int occurrence) {
  if (occurrence < 1) {
    fail_code_.reset();
    return;
  }
  fail_code_ = code;
  fail_code_countdown_ = occurrence;
}

void SimulatedUnit::FailTransferNumber(int n) {
  fail_transfer_at_ = n > 0 ? transfers_seen_ + static_cast<uint64_t>(n) : 0;
}

void SimulatedUnit::FailTransferAt(int n, TransferFault fault) {
  fault_at_ = n > 0 ? any_transfers_seen_ + static_cast<uint64_t>(n) : 0;
  fault_ = fault;
}

std::optional<TransferFault> SimulatedUnit::TransferFaultHits() {
  ++any_transfers_seen_;
  if (fault_at_ == 0 || any_transfers_seen_ != fault_at_) return std::nullopt;
  fault_at_ = 0;
  if (fault_ == TransferFault::Pull) pulled_ = true;
  return fault_;
}

void SimulatedUnit::ShortenNextBulkRead(uint32_t delivered) {
  short_bulk_read_ = delivered;
}

void SimulatedUnit::ShortenNextReply(uint8_t code, uint16_t bytes) {
  short_reply_code_ = code;
  short_reply_bytes_ = bytes;
}

void SimulatedUnit::FailNextOperation(uint8_t operation_errors, uint8_t system_errors) {
  ProgrammerStatus s;
  s.bytes[0] = operation_errors;
  s.bytes[1] = system_errors;
  failed_operation_status_ = s;
}

void SimulatedUnit::ClearFaults() {
  fail_request_at_ = 0;
  fail_code_.reset();
  fail_transfer_at_ = 0;
  fault_at_ = 0;
  short_bulk_read_.reset();
  short_reply_code_.reset();
  failed_operation_status_.reset();
  identification_ = SimulatedIdentification();
}

// --- control requests ---

int SimulatedUnit::Control(const VendorRequest& r, uint8_t* data) {
  ++requests_seen_;
  pending_ = {};  // a new request ends whatever was left of a bulk block

  const std::optional<TransferFault> transfer_fault = TransferFaultHits();
  const bool lost = transfer_fault == TransferFault::LostReply;
  const bool shortened = transfer_fault == TransferFault::Short && r.DeviceToHost();
  bool fault = fail_request_at_ != 0 && requests_seen_ == fail_request_at_;
  if (fault) fail_request_at_ = 0;
  if (transfer_fault && !lost && !shortened) fault = true;
  if (fail_code_ && *fail_code_ == r.request && --fail_code_countdown_ == 0) {
    fault = true;
    fail_code_.reset();
  }

  WireEntry e;
  e.kind = WireKind::Control;
  e.request_type = r.request_type;
  e.request = r.request;
  e.value = r.value;
  e.index = r.index;
  e.length = r.length;

  int result = -1;
  if (!fault) {
    violation_ = false;
    const bool vendor = (r.request_type & 0x60) == 0x40;
    if (vendor && !LengthFieldValid(r)) {
      result = -1;
    } else if (vendor && r.DeviceToHost()) {
      result = ControlIn(r, data);
    } else if (vendor) {
      result = ControlOut(r) ? r.length : -1;
    }
    e.violation = result < 0 || violation_;
  }
  if (shortened && result > 0) result /= 2;
  if (lost) result = -1;
  e.ok = result >= 0;
  e.size = result > 0 ? static_cast<uint32_t>(result) : 0;
  log_.Add(e);
  return result;
}

int SimulatedUnit::ControlIn(const VendorRequest& r, uint8_t* data) {
  const uint8_t* source = nullptr;
  size_t size = 0;
  switch (r.request) {
    case request::kHardwareInfo:
      source = identification_.bytes.data();
      size = identification_.bytes.size();
      break;
    case request::kStatus:
      source = status_.bytes.data();
      size = status_.bytes.size();
      break;
    case request::kRawRead:
      source = raw_memory_.data();
      size = raw_memory_.size();
      break;
    case request::kPageRead:
      source = component_records_.data();
      size = component_records_.size();
      break;
    case request::kFirmwareRecord:
      source = firmware_record_.data();
      size = firmware_record_.size();
      break;
    default:
      return -1;
  }
  size_t n = std::min<size_t>(r.length, size);
  if (short_reply_code_ && *short_reply_code_ == r.request) {
    n = std::min<size_t>(n, short_reply_bytes_);
    short_reply_code_.reset();
  }
  if (n > 0 && !data) return -1;
  if (n > 0) std::memcpy(data, source, n);
  return static_cast<int>(n);
}

void SimulatedUnit::Expect(Target target, bool device_to_host, uint32_t total, size_t offset) {
  pending_ = PendingBulk{target, device_to_host, total, 0, offset};
}

bool SimulatedUnit::ControlOut(const VendorRequest& r) {
  switch (r.request) {
    case request::kAnnounce:
      announced_ = true;
      announced_value_ = r.value;
      announced_index_ = r.index;
      page_halves_written_ = 0;
      return true;

    case request::kRawWordWrite: {
      const size_t at = size_t{r.value} * 2;
      if (at + 1 >= raw_memory_.size()) return false;
      raw_memory_[at] = static_cast<uint8_t>(r.index & 0xFF);
      raw_memory_[at + 1] = static_cast<uint8_t>(r.index >> 8);
      return true;
    }

    case request::kAreaRead:
      if (Is(r, area::kOptions, area::kOptionsSize)) {
        Expect(Target::OptionsIn, true, area::kOptionsSize);
      } else if (Is(r, area::kRawMemory, area::kRawMemorySize)) {
        Expect(Target::RawIn, true, area::kRawMemorySize);
      } else {
        return false;
      }
      return true;

    case request::kAreaWrite:
      if (Is(r, area::kParameters, area::kParametersSize)) {
        Expect(Target::Parameters, false, area::kParametersSize);
      } else if (Is(r, area::kDriver, area::kDriverSize)) {
        // The pass number comes from the announcement.
        if (!announced_ || announced_index_ != 0 || announced_value_ >= kDriverPasses) return false;
        announced_ = false;
        Expect(Target::DriverPass, false, area::kDriverSize, announced_value_);
      } else if (Is(r, area::kOptions, area::kOptionsSize)) {
        announced_ = false;
        Expect(Target::OptionsOut, false, area::kOptionsSize);
      } else if (Is(r, area::kRawMemory, area::kRawMemorySize)) {
        Expect(Target::RawOut, false, area::kRawMemorySize);
      } else if (Is(r, area::kProgramTest, area::kProgramTestSize)) {
        announced_ = false;
        Expect(Target::ProgramTest, false, area::kProgramTestSize);
      } else {
        return false;
      }
      return true;

    case request::kRaw:
      return true;

    case request::kRun:
      if (failed_operation_status_) {
        status_ = *failed_operation_status_;
        failed_operation_status_.reset();
        prepared_ = Prepared::None;
        page_params_ = PageParams::None;
        announced_ = false;
        read_page_.reset();
      } else if (r.value == kRunOperationValue) {
        const Prepared prepared = prepared_;
        prepared_ = Prepared::None;
        const uint8_t number = static_cast<uint8_t>(r.index >> 8);
        if (PageOperationMayRun(number, prepared)) RunOperation(number, prepared);
      } else if (Is(r, kPinScanValue, kPinScanIndex)) {
        prepared_ = Prepared::None;
        RunPinScan();
      } else {
        status_ = {};
        status_.bytes[1] = kSystemRunFail;
      }
      return true;

    case request::kPrepare:
      if (Is(r, kPrepareValue, kPreparePinScanIndex)) prepared_ = Prepared::PinScan;
      if (Is(r, kPrepareValue, kPrepareSelfTestIndex)) prepared_ = Prepared::SelfTest;
      status_ = {};
      return true;

    case request::kPageRead:
      if (Is(r, area::kPage, area::kPageHalfSize)) {
        if (!read_page_ || read_page_->halves_read >= 2) return false;
        Expect(Target::PageIn, true, area::kPageHalfSize,
               read_page_->offset + size_t(read_page_->halves_read) * kHalfBytes);
        ++read_page_->halves_read;
      } else if (Is(r, area::kPage, area::kSelfTestReportSize)) {
        Expect(Target::SelfTestReport, true, area::kSelfTestReportSize);
      } else {
        return false;
      }
      return true;

    case request::kPageWrite:
      if (Is(r, area::kPage, area::kPageHalfSize)) {
        if (!announced_) return false;
        if (announced_index_ == kAnnounceAlgorithmIndex) {
          announced_ = false;
          Expect(Target::AlgorithmImage, false, area::kPageHalfSize);
          return true;
        }
        if (announced_index_ != 0 || page_halves_written_ >= 2) return false;
        if (page_halves_written_ == 0 && !PageWritesMayStart()) return false;
        const size_t offset = PageOffset() + size_t(page_halves_written_) * kHalfBytes;
        if (!EnsureRam(offset + kHalfBytes)) return false;
        if (++page_halves_written_ == 2) announced_ = false;
        Expect(Target::PageOut, false, area::kPageHalfSize, offset);
      } else if (Is(r, area::kRawMemory, area::kRawMemorySize)) {
        Expect(Target::RawIn, true, area::kRawMemorySize);
      } else {
        return false;
      }
      return true;

    case request::kRestartSelfTest:
      prepared_ = Prepared::None;
      status_ = {};
      return true;

    default:
      return false;
  }
}

// --- bulk transfers ---

bool SimulatedUnit::BulkFaultHits() {
  if (fail_transfer_at_ == 0 || transfers_seen_ != fail_transfer_at_) return false;
  fail_transfer_at_ = 0;
  pending_ = {};
  return true;
}

WireEntry& SimulatedUnit::LogBulk(WireKind kind, uint32_t asked, bool continues) {
  WireEntry* last = log_.Last();
  if (continues && last && last->kind == kind && last->ok) {
    last->asked += asked;
    return *last;
  }
  WireEntry e;
  e.kind = kind;
  e.asked = asked;
  log_.Add(e);
  return *log_.Last();
}

int64_t SimulatedUnit::RefuseBulk(WireKind kind, uint32_t count) {
  WireEntry& e = LogBulk(kind, count, false);
  e.ok = false;
  e.violation = true;
  return -1;
}

int64_t SimulatedUnit::BulkOut(const uint8_t* data, uint32_t count) {
  ++transfers_seen_;
  const std::optional<TransferFault> fault = TransferFaultHits();
  if (BulkFaultHits() || FailsWhole(fault)) {
    pending_ = {};
    LogBulk(WireKind::BulkOut, count, false).ok = false;
    return -1;
  }
  // A short transfer: the unit takes half of the data.
  const uint32_t taken = fault == TransferFault::Short ? count / 2 : count;
  return Answered(fault, count, taken, TakeBulk(data, taken));
}

int64_t SimulatedUnit::TakeBulk(const uint8_t* data, uint32_t count) {
  if (pending_.target == Target::None || pending_.device_to_host ||
      count > pending_.total - pending_.done || (count > 0 && !data)) {
    pending_ = {};
    return RefuseBulk(WireKind::BulkOut, count);
  }
  const bool continues = pending_.done > 0;
  uint8_t* to = pending_.target == Target::PageOut ? ram_.data() + pending_.offset + pending_.done
                                                   : inbox_.data() + pending_.done;
  if (count > 0) std::memcpy(to, data, count);
  pending_.done += count;
  LogBulk(WireKind::BulkOut, count, continues).size += count;
  if (pending_.done == pending_.total) CompleteBulk();
  return count;
}

int64_t SimulatedUnit::BulkIn(uint8_t* data, uint32_t count) {
  ++transfers_seen_;
  const std::optional<TransferFault> fault = TransferFaultHits();
  if (BulkFaultHits() || FailsWhole(fault)) {
    pending_ = {};
    LogBulk(WireKind::BulkIn, count, false).ok = false;
    return -1;
  }
  const uint32_t asked = fault == TransferFault::Short ? count / 2 : count;
  return Answered(fault, count, asked, GiveBulk(data, asked));
}

int64_t SimulatedUnit::GiveBulk(uint8_t* data, uint32_t count) {
  if (pending_.target == Target::None || !pending_.device_to_host || (count > 0 && !data)) {
    pending_ = {};
    return RefuseBulk(WireKind::BulkIn, count);
  }
  // The unit sends what is left of its block; a host that asks for more
  // sees a short transfer.
  uint32_t n = std::min(count, pending_.total - pending_.done);
  if (short_bulk_read_) {
    n = std::min(n, *short_bulk_read_);
    short_bulk_read_.reset();
  }
  const bool continues = pending_.done > 0;
  const size_t at = pending_.done;
  switch (pending_.target) {
    case Target::OptionsIn:
      std::memcpy(data, option_ram_.data() + at, n);
      break;
    case Target::RawIn:
      std::memcpy(data, raw_memory_.data() + at, n);
      break;
    case Target::SelfTestReport:
      std::memcpy(data, self_test_report_.data() + at, n);
      break;
    case Target::PageIn:
      chip_.Read(read_page_ ? read_page_->area : ChipArea::Main, pending_.offset + at, data, n);
      break;
    default:
      break;
  }
  pending_.done += n;
  LogBulk(WireKind::BulkIn, count, continues).size += n;
  if (pending_.done == pending_.total) CompleteBulk();
  return n;
}

bool SimulatedUnit::FailsWhole(std::optional<TransferFault> fault) {
  return fault && *fault != TransferFault::LostReply && *fault != TransferFault::Short;
}

int64_t SimulatedUnit::Answered(std::optional<TransferFault> fault, uint32_t asked,
                                uint32_t handled, int64_t moved) {
  if (!fault) return moved;
  WireEntry* last = log_.Last();
  if (last) last->asked += asked - handled;
  // A lost reply: the unit took the transfer, the host hears of a failure.
  if (fault == TransferFault::LostReply || moved < 0) {
    if (last) last->ok = false;
    return -1;
  }
  return moved;
}

void SimulatedUnit::CompleteBulk() {
  const auto take = [this](size_t n) {
    return std::vector<uint8_t>(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(n));
  };
  switch (pending_.target) {
    case Target::Parameters:
      std::memcpy(parameters_.data(), inbox_.data(), parameters_.size());
      ++parameter_blocks_;
      page_params_ = PageParams::Fresh;
      ApplyParameters();
      break;
    case Target::DriverPass:
      driver_[pending_.offset & 3] = take(area::kDriverSize);
      ++driver_passes_;
      break;
    case Target::OptionsOut:
      std::memcpy(option_ram_.data(), inbox_.data(), option_ram_.size());
      break;
    case Target::RawOut:
      std::memcpy(raw_memory_.data(), inbox_.data(), raw_memory_.size());
      break;
    case Target::ProgramTest:
      program_test_ = take(area::kProgramTestSize);
      break;
    case Target::AlgorithmImage:
      algorithm_image_ = take(kAlgorithmImageSize);
      break;
    default:
      break;
  }
  pending_ = {};
}

// --- the unit's own checks of what the host sends ---

void SimulatedUnit::Violation(std::string reason) {
  violations_.push_back(std::move(reason));
  violation_ = true;
}

bool SimulatedUnit::LengthFieldValid(const VendorRequest& r) {
  uint16_t expected = 0;
  if (r.DeviceToHost()) {
    switch (r.request) {
      case request::kHardwareInfo:
        expected = HardwareInfoReply::kSize;
        break;
      case request::kStatus:
        expected = ProgrammerStatus::kSize;
        break;
      case request::kRawRead:
        expected = area::kRawMemorySize;
        break;
      case request::kFirmwareRecord:
        expected = kFirmwareRecordSize;
        break;
      default:
        // Component records: as many as the host counts; other codes stall.
        return true;
    }
  } else if (r.request == request::kRaw) {
    return true;  // typed by hand, length included
  }
  if (r.length == expected) return true;
  Violation(strprintf("request %02X: wLength %u, expected %u", r.request, unsigned{r.length},
                      unsigned{expected}));
  return false;
}

bool SimulatedUnit::PageWritesMayStart() {
  if (page_params_ == PageParams::Fresh) {
    page_params_ = PageParams::UsedByWrites;
    return true;
  }
  Violation("page write: no parameter block since the last page");
  return false;
}

bool SimulatedUnit::PageOperationMayRun(uint8_t number, Prepared prepared) {
  const bool read = number == operation::kRead || number == operation::kReadSecondArea;
  const bool program = number == operation::kProgram || number == operation::kProgramSecondArea;
  if (!read && !program) return true;
  if (number == operation::kRead && prepared == Prepared::SelfTest) return true;
  if (!chip_.supported()) return true;  // the operation fails on its own

  const PageParams params = page_params_;
  page_params_ = PageParams::None;
  std::optional<std::string> fault;
  if (params == PageParams::None || (read && params == PageParams::UsedByWrites)) {
    fault = "no parameter block since the last page";
  } else {
    const bool main = number == operation::kRead || number == operation::kProgram;
    fault = PageWordsFault(main ? ChipArea::Main : ChipArea::Second);
  }
  if (!fault) return true;
  Violation(strprintf("operation %02X: %s", number, fault->c_str()));
  status_ = {};
  status_.bytes[1] = kSystemRunFail;
  announced_ = false;
  read_page_.reset();
  return false;
}

std::optional<std::string> SimulatedUnit::PageWordsFault(ChipArea area) const {
  DeviceParameterBlock block;
  block.bytes = parameters_;
  const unsigned unit = chip_.unit_bytes();
  const uint16_t address = block.Word(DeviceParameterBlock::kBlockAddress);
  if (address != 0 && !(unit == 2 && address == 0x8000)) {
    return strprintf("BlockAddress %04X", unsigned{address});
  }
  const uint64_t device = uint64_t{unit} * (uint64_t{block.MaxAddress()} + block.ExtAddress() + 1);
  const size_t offset = PageOffset();
  const size_t area_bytes = chip_.bytes(area);
  const uint64_t in_page =
      offset < area_bytes ? std::min<uint64_t>(kPageBytes, area_bytes - offset) : 0;
  const uint16_t length = block.Word(DeviceParameterBlock::kBlockLength);
  const bool fits =
      length == 0 ? device >= kPageBytes : uint64_t{length} + 1 >= in_page && length <= device;
  if (fits) return std::nullopt;
  return strprintf("BlockLength %04X for a page holding %llu bytes of a %llu-byte device",
                   unsigned{length}, static_cast<unsigned long long>(in_page),
                   static_cast<unsigned long long>(device));
}

// --- geometry and held data ---

void SimulatedUnit::ApplyParameters() {
  DeviceParameterBlock block;
  block.bytes = parameters_;
  const uint64_t main = uint64_t{block.MaxAddress()} + 1;
  const uint32_t ext = block.ExtAddress();
  chip_.SetExtents(main, ext != 0 ? uint64_t{ext} + 1 : 0);
  if (chip_.supported()) EnsureRam(HeldBytes());
}

size_t SimulatedUnit::PageOffset() const {
  DeviceParameterBlock block;
  block.bytes = parameters_;
  const uint64_t address = uint64_t{block.Word(DeviceParameterBlock::kBlockNumber)} * 65536 +
                           block.Word(DeviceParameterBlock::kBlockAddress);
  return static_cast<size_t>(address * chip_.unit_bytes());
}

bool SimulatedUnit::EnsureRam(size_t bytes) {
  if (bytes > kMaxRamBytes) return false;
  if (ram_.size() < bytes) ram_.resize(bytes, 0xFF);
  return true;
}

size_t SimulatedUnit::HeldBytes() const {
  return chip_.bytes(ChipArea::Main) + chip_.bytes(ChipArea::Second);
}

uint16_t SimulatedUnit::HeldChecksum() const {
  const size_t n = std::min(HeldBytes(), ram_.size());
  uint32_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += ram_[i];
  sum += static_cast<uint32_t>(HeldBytes() - n) * 0xFF;
  return static_cast<uint16_t>(sum);
}

// --- operations ---

void SimulatedUnit::Fail(uint8_t operation_bits, uint8_t system_bits,
                         std::optional<size_t> byte_offset, ChipArea area) {
  status_.bytes[0] = operation_bits;
  status_.bytes[1] = system_bits;
  if (!byte_offset) return;
  // Error address (in device addresses, high and low word) and the data
  // the cell holds there.
  const unsigned unit = chip_.unit_bytes();
  const size_t address = *byte_offset / unit;
  PutWord(status_, 2, static_cast<uint16_t>(address >> 16));
  PutWord(status_, 4, static_cast<uint16_t>(address & 0xFFFF));
  const std::vector<uint8_t>& cells = chip_.cells(area);
  const size_t first = address * unit;
  uint16_t value = first < cells.size() ? cells[first] : 0xFF;
  if (unit == 2 && first + 1 < cells.size())
    value = static_cast<uint16_t>(value | cells[first + 1] << 8);
  PutWord(status_, 6, value);
}

void SimulatedUnit::RunOperation(uint8_t number, Prepared prepared) {
  status_ = {};
  announced_ = false;
  read_page_.reset();

  if (number == operation::kRead && prepared == Prepared::SelfTest) return;  // report is ready

  const bool on_array = number == operation::kRead || number == operation::kErase ||
                        number == operation::kBlankCheck || number == operation::kProgram ||
                        number == operation::kVerifyHeld || number == operation::kProtect ||
                        number == operation::kReadSecondArea ||
                        number == operation::kProgramSecondArea;
  if (on_array && !chip_.supported()) {
    status_.bytes[1] = kSystemRunFail;
    return;
  }
  const bool locked = chip_.is_protected();

  switch (number) {
    case operation::kRead:
    case operation::kReadSecondArea: {
      if (locked) return Fail(0, kSystemProtected, std::nullopt, ChipArea::Main);
      const ChipArea area = number == operation::kRead ? ChipArea::Main : ChipArea::Second;
      read_page_ = ReadPage{area, PageOffset(), 0};
      option_ram_ = chip_.options();
      return;
    }
    case operation::kErase:
      chip_.Erase();
      return;
    case operation::kBlankCheck:
      if (locked) return Fail(kBlankFail, kSystemProtected, std::nullopt, ChipArea::Main);
      if (auto at = chip_.FirstNotErased(ChipArea::Main)) Fail(kBlankFail, 0, at, ChipArea::Main);
      return;
    case operation::kProgram:
    case operation::kProgramSecondArea: {
      const ChipArea area = number == operation::kProgram ? ChipArea::Main : ChipArea::Second;
      if (locked) return Fail(kProgFail, kSystemProtected, std::nullopt, area);
      const size_t offset = PageOffset();
      if (!EnsureRam(offset + kPageBytes)) return Fail(0, kSystemSramFail, std::nullopt, area);
      if (auto at = chip_.Program(area, offset, ram_.data() + offset, kPageBytes)) {
        Fail(kProgFail, 0, at, area);
      }
      return;
    }
    case operation::kVerifyHeld: {
      if (locked) return Fail(kVerifyFail, kSystemProtected, std::nullopt, ChipArea::Main);
      if (!EnsureRam(HeldBytes())) return Fail(0, kSystemSramFail, std::nullopt, ChipArea::Main);
      if (auto at = chip_.FirstDifference(ChipArea::Main, ram_.data())) {
        return Fail(kVerifyFail, 0, at, ChipArea::Main);
      }
      const uint8_t* second = ram_.data() + chip_.bytes(ChipArea::Main);
      if (auto at = chip_.FirstDifference(ChipArea::Second, second)) {
        Fail(kVerifyFail, 0, at, ChipArea::Second);
      }
      return;
    }
    case operation::kProtect:
      chip_.options() = option_ram_;
      chip_.set_protected(true);
      return;
    case operation::kReadId: {
      const auto& ids = chip_.id_codes();
      status_.bytes[2] = ids[0];
      status_.bytes[4] = ids[1];
      status_.bytes[6] = ids[2];
      status_.bytes[8] = ids[3];
      return;
    }
    case operation::kChecksumHeld:
    case operation::kChecksumHeldButton:
      PutWord(status_, 2, HeldChecksum());
      return;
    default:
      status_.bytes[1] = kSystemRunFail;
      return;
  }
}

void SimulatedUnit::RunPinScan() {
  status_ = {};
  for (int pin = 1; pin <= 48; ++pin) {
    if (chip_.contact(pin))
      status_.bytes[2 + (pin - 1) / 8] |= static_cast<uint8_t>(1u << ((pin - 1) % 8));
  }
  PutWord(status_, 8, chip_.stray_indication());
}

}  // namespace quenlet
