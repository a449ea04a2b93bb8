#pragma once
// What crossed the wire between the host and the simulated unit, in order:
// opens and closes, control requests with their setup fields, and bulk blocks
// with their sizes. Entries are small and fixed; data bytes are not kept.
#include <cstdint>
#include <string>
#include <vector>

namespace quenlet {

enum class WireKind : uint8_t { Open, Close, Control, BulkOut, BulkIn };

struct WireEntry {
  WireKind kind = WireKind::Control;
  uint8_t request_type = 0;
  uint8_t request = 0;
  bool ok = true;          // the unit accepted it (false: stall or failed transfer)
  bool violation = false;  // it broke the protocol (nothing announced it, wrong size, ...)
  uint16_t value = 0;
  uint16_t index = 0;
  uint16_t length = 0;  // control: wLength
  uint32_t size = 0;    // control: data-stage bytes moved; bulk: bytes moved
  uint32_t asked = 0;   // bulk: bytes the host asked for

  bool DeviceToHost() const { return (request_type & 0x80) != 0; }
  // "open", "close", "OUT 47 0B00 0080 0", "IN 42 0000 0000 16",
  // "bulk-out 128", "bulk-in 500/512"; failures end in " fail", protocol
  // violations in " violation".
  std::string Text() const;
};

class WireLog {
 public:
  WireLog() { entries_.reserve(4096); }

  void Add(const WireEntry& entry) { entries_.push_back(entry); }
  // The last entry, for a bulk block that arrives in several pieces.
  WireEntry* Last() { return entries_.empty() ? nullptr : &entries_.back(); }
  void Clear() { entries_.clear(); }

  const std::vector<WireEntry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  // Text() of every entry, in order.
  std::vector<std::string> Lines() const;
  // Lines of control requests and bulk blocks only (no opens and closes).
  std::vector<std::string> TransferLines() const;

 private:
  std::vector<WireEntry> entries_;
};

}  // namespace quenlet
