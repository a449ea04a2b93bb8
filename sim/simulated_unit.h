#pragma once
// The device side of the programmer protocol: answers every request of the
// catalogue, runs the operations on the virtual chip in its socket, records
// the wire log and injects faults on request.
//
// How the unit behaves:
//  - Request 0x43 announces an upload: index 0x000E the algorithm image,
//    values 0 to 3 with index 0 a driver pass (value = pass) or a group of
//    data pages. A driver pass (0x47 0x4000) or a 0x4C page write that no
//    0x43 announced is refused. Each 0x4C of a page group writes the next
//    32 KB half of the page, at most two.
//  - The unit's data RAM holds the uploaded pages at their address (block
//    number x 64 K addresses + block address, times the data width) in the
//    buffer's own layout (main area, then second area); program operations
//    5 and 0x0E write the page they address from it, and operations 0x06,
//    0x0B and 0x0C use it as the held data.
//  - Read operations 1 and 0x0D select a page; up to two 0x4B reads then
//    move its halves.
//  - A parameter block sets the chip's extents from max_address and
//    ext_address; the data width is the chip's own.
//  - Every bulk-moving request (0x46, 0x47, 0x4B, 0x4C) announces one block
//    of the size its index names; a bulk transfer that no request announced,
//    or one longer than what is left of the block, fails and is logged as a
//    violation. A block may arrive in several pieces; the next control
//    request drops what is left of it.
//  - The unit does not take the host's word for what it sends:
//     * wLength: 0 on every OUT request but the hand-typed raw request 0x48;
//       an IN request with a fixed reply (0x41, 0x42, 0x44, 0x4D) asks for
//       exactly that many bytes. Otherwise the request stalls.
//     * Each page (a group of 0x4C page writes, or a page operation 1, 5,
//       0x0D or 0x0E) needs a parameter block of its own sent after the
//       previous page; a program operation may share it with the data it
//       programs. A page write without one stalls; a page operation without
//       one does not run and leaves a bad status.
//     * A page operation checks the page words of that block: BlockAddress 0
//       (or 0x8000 on a word-wide chip), and a BlockLength that is 0 only on
//       a device of at least 64 KB, and otherwise covers the area's bytes in
//       the page (one less is the last-address form) without exceeding the
//       device. A page that fails does not run and leaves a bad status.
//    Each such violation is flagged in the wire log and its reason kept.
//  - All of it survives a close and reopen of the host's handle.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/usb_backend.h"
#include "programmer/protocol.h"
#include "sim/unit_records.h"
#include "sim/virtual_chip.h"
#include "sim/wire_log.h"

namespace quenlet {

// How one transfer fails (SimulatedUnit::FailTransferAt).
enum class TransferFault : uint8_t {
  TimeOut,    // nothing reaches the unit; the host's transfer fails
  LostReply,  // the unit takes the transfer, but the host's side of it fails
  Short,      // a bulk transfer or an IN reply moves half of what was asked;
              // a request without a data stage fails as a time-out
  Pull,       // the unit is unplugged as the transfer starts: it fails, and
              // so does everything after it until the unit is plugged in again
};

class SimulatedUnit {
 public:
  SimulatedUnit();

  // What the backend passes on from the host.
  void Attached();  // the host opened its handle
  void Detached();  // the host closed it
  // Returns the data-stage bytes moved, or -1 for a stall.
  int Control(const VendorRequest& request, uint8_t* data);
  // Returns the bytes moved, or -1 for a failed transfer.
  int64_t BulkOut(const uint8_t* data, uint32_t count);
  int64_t BulkIn(uint8_t* data, uint32_t count);

  VirtualChip& chip() { return chip_; }
  WireLog& log() { return log_; }
  const WireLog& log() const { return log_; }

  // --- fault injection (counted from the moment they are set) ---
  // The n-th control request from now (1 = the next one) stalls.
  void FailRequestNumber(int n);
  // The n-th request with code `request` from now stalls.
  void FailRequest(uint8_t request, int occurrence = 1);
  // The n-th bulk transfer from now fails.
  void FailTransferNumber(int n);
  // The next bulk read moves only `delivered` bytes (when it asks for more).
  void ShortenNextBulkRead(uint32_t delivered);
  // The n-th transfer from now (1 = the next one), control requests and
  // bulk transfers counted together, fails as `fault` says.
  void FailTransferAt(int n, TransferFault fault);
  // Whether a Pull fault has unplugged the unit; Replug() plugs it in again.
  bool Pulled() const { return pulled_; }
  void Replug() { pulled_ = false; }
  // The next reply to IN request `request` has only `bytes` bytes.
  void ShortenNextReply(uint8_t request, uint16_t bytes);
  // The model string the identification reply names.
  void SetModel(const std::string& model) { identification_ = SimulatedIdentification(model); }
  // The next operation (request 0x49) does not run and leaves these status bytes.
  void FailNextOperation(uint8_t operation_errors, uint8_t system_errors);
  // The status block as if the last operation had left it (until the next one).
  void OverrideStatus(const ProgrammerStatus& status) { status_ = status; }
  void ClearFaults();

  // --- what the unit holds ---
  const std::array<uint8_t, 128>& parameter_block() const { return parameters_; }
  int parameter_blocks_received() const { return parameter_blocks_; }
  // The last algorithm image uploaded (empty before the first).
  const std::vector<uint8_t>& algorithm_image() const { return algorithm_image_; }
  // Driver data by pass value, and how many passes arrived.
  const std::vector<uint8_t>& driver_pass(int pass) const { return driver_[pass & 3]; }
  int driver_passes_received() const { return driver_passes_; }
  // The data RAM: uploaded pages, in the data buffer's layout.
  const std::vector<uint8_t>& data_ram() const { return ram_; }
  const std::array<uint8_t, 256>& option_ram() const { return option_ram_; }
  std::array<uint8_t, 512>& raw_memory() { return raw_memory_; }
  const std::vector<uint8_t>& program_test_data() const { return program_test_; }
  SelfTestReport& self_test_report() { return self_test_report_; }
  // The firmware record of request 0x4D and the component records of 0x4B IN.
  std::vector<uint8_t>& firmware_record() { return firmware_record_; }
  std::vector<uint8_t>& component_records() { return component_records_; }
  HardwareInfoReply& identification() { return identification_; }
  const ProgrammerStatus& status() const { return status_; }
  // Why the unit refused what it refused by its own checks, in order.
  const std::vector<std::string>& violations() const { return violations_; }
  // Sum of the held data (operations 0x0B and 0x0C).
  uint16_t HeldChecksum() const;

 private:
  enum class Target : uint8_t {
    None,
    Parameters,
    DriverPass,
    OptionsOut,
    OptionsIn,
    RawOut,
    RawIn,
    ProgramTest,
    AlgorithmImage,
    PageOut,
    PageIn,
    SelfTestReport,
  };
  struct PendingBulk {
    Target target = Target::None;
    bool device_to_host = false;
    uint32_t total = 0;
    uint32_t done = 0;
    size_t offset = 0;  // page: byte offset in RAM or chip area
  };
  struct ReadPage {
    ChipArea area = ChipArea::Main;
    size_t offset = 0;
    int halves_read = 0;
  };
  enum class Prepared : uint8_t { None, PinScan, SelfTest };
  // The parameter block of the page in progress.
  enum class PageParams : uint8_t { None, Fresh, UsedByWrites };

  int ControlIn(const VendorRequest& r, uint8_t* data);
  bool ControlOut(const VendorRequest& r);
  void Expect(Target target, bool device_to_host, uint32_t total, size_t offset = 0);
  void CompleteBulk();
  bool BulkFaultHits();
  // The transfer fault that hits the transfer in hand, if any (counts it).
  std::optional<TransferFault> TransferFaultHits();
  WireEntry& LogBulk(WireKind kind, uint32_t asked, bool continues);
  int64_t RefuseBulk(WireKind kind, uint32_t count);
  // The bulk transfer as the unit handles it, once past the faults.
  int64_t TakeBulk(const uint8_t* data, uint32_t count);
  int64_t GiveBulk(uint8_t* data, uint32_t count);
  // Whether a transfer fault fails the whole transfer (nothing reaches the unit).
  static bool FailsWhole(std::optional<TransferFault> fault);
  // What the host hears of a bulk transfer of `asked` bytes of which the unit
  // handled `handled` (moving `moved`) under `fault`.
  int64_t Answered(std::optional<TransferFault> fault, uint32_t asked, uint32_t handled,
                   int64_t moved);

  bool LengthFieldValid(const VendorRequest& r);
  bool PageWritesMayStart();
  bool PageOperationMayRun(uint8_t number, Prepared prepared);
  std::optional<std::string> PageWordsFault(ChipArea area) const;
  void Violation(std::string reason);

  void RunOperation(uint8_t number, Prepared prepared);
  void RunPinScan();
  void Fail(uint8_t operation_bits, uint8_t system_bits, std::optional<size_t> byte_offset,
            ChipArea area);
  size_t PageOffset() const;
  bool EnsureRam(size_t bytes);
  void ApplyParameters();
  size_t HeldBytes() const;

  VirtualChip chip_;
  WireLog log_;

  std::array<uint8_t, 128> parameters_{};
  int parameter_blocks_ = 0;
  std::vector<uint8_t> inbox_;  // small uploads land here until complete
  std::vector<uint8_t> algorithm_image_;
  std::array<std::vector<uint8_t>, 4> driver_;
  int driver_passes_ = 0;
  std::vector<uint8_t> ram_;
  std::array<uint8_t, 256> option_ram_{};
  std::array<uint8_t, 512> raw_memory_{};
  std::vector<uint8_t> program_test_;
  SelfTestReport self_test_report_{};
  HardwareInfoReply identification_;
  std::vector<uint8_t> firmware_record_;
  std::vector<uint8_t> component_records_;
  ProgrammerStatus status_;

  bool announced_ = false;
  uint16_t announced_value_ = 0;
  uint16_t announced_index_ = 0;
  int page_halves_written_ = 0;
  Prepared prepared_ = Prepared::None;
  std::optional<ReadPage> read_page_;
  PendingBulk pending_;
  PageParams page_params_ = PageParams::None;
  bool violation_ = false;  // the request in hand broke a check
  std::vector<std::string> violations_;

  uint64_t requests_seen_ = 0;
  uint64_t transfers_seen_ = 0;
  uint64_t fail_request_at_ = 0;
  std::optional<uint8_t> fail_code_;
  int fail_code_countdown_ = 0;
  uint64_t fail_transfer_at_ = 0;
  uint64_t any_transfers_seen_ = 0;  // control requests and bulk transfers
  uint64_t fault_at_ = 0;
  TransferFault fault_ = TransferFault::TimeOut;
  bool pulled_ = false;
  std::optional<uint32_t> short_bulk_read_;
  std::optional<ProgrammerStatus> failed_operation_status_;
  std::optional<uint8_t> short_reply_code_;
  uint16_t short_reply_bytes_ = 0;
};

}  // namespace quenlet
