#pragma once
// The fuse map of a GAL/PAL fuse device: one byte per fuse, 0 or 1 (the '0'
// and '1' of a JEDEC fuse list), followed by 4096 bytes of 2 ("no fuse") so
// that a view window running past the last fuse shows empty positions. Fuse n
// lies in row n / columns, column n % columns. While a fuse device is selected
// the device operations program, verify and read it instead of the buffer.
//
// The map keeps its own 0/1 rule: it hands out its fuses for reading only,
// and every writer (a device read, a fill, a JEDEC load, a toggle) stores
// through it, where any non-zero value becomes 1. A blank chip that reads
// back 0xFF therefore holds fuses of 1, as the grid, the checksum and the
// JEDEC writer all show them.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace quenlet {

class FuseMap {
 public:
  static constexpr uint32_t kTailSize = 4096;  // bytes of 2 after the last fuse
  static constexpr uint8_t kNoFuse = 2;

  FuseMap() = default;
  FuseMap(const FuseMap&) = delete;
  FuseMap& operator=(const FuseMap&) = delete;

  // (Re)builds the map for `fuse_count` fuses, all 0, then the tail of 2.
  // A count below 1 or above the largest buffer (kMaxBufferSize), or a failed
  // allocation, leaves no map (HasMap false);
  // returns whether there is one.
  bool Init(int64_t fuse_count);
  // Frees the map.
  void Free();

  bool HasMap() const { return !bytes_.empty(); }
  uint32_t FuseCount() const { return fuse_count_; }

  // The fuses only (FuseCount bytes, each 0 or 1).
  std::span<const uint8_t> Fuses() const { return {bytes_.data(), fuse_count_}; }
  // The whole block, tail included.
  std::span<const uint8_t> Block() const { return bytes_; }

  // Fuse n, or kNoFuse past the last fuse.
  uint8_t Fuse(uint64_t n) const { return n < fuse_count_ ? bytes_[n] : kNoFuse; }

  // The writers; any non-zero value is stored as 1.
  // Fuse n; false outside the map.
  bool SetFuse(uint64_t n, uint8_t value);
  // Fuses first .. first + values.size() - 1; false, storing nothing, when
  // they do not all lie in the map.
  bool StoreFuses(uint64_t first, std::span<const uint8_t> values);
  // Fuses first .. last inclusive, cut at the last fuse; false when first
  // lies past it or after last.
  bool FillFuses(uint64_t first, uint64_t last, uint8_t value);

  // How many of fuses first .. first + values.size() - 1 differ from
  // `values` taken by the same rule (a verify's read-back); values past the
  // last fuse count as differing.
  uint64_t CountDiffering(uint64_t first, std::span<const uint8_t> values) const;

  // The JEDEC fuse checksum: per group of 8 fuses from fuse 0, a byte whose
  // bit k is 1 when fuse start + k holds 1 (fuses past the last count as 0);
  // the 32-bit sum of those bytes.
  uint32_t CheckSum() const;

  // The sum last shown in the checksum field; a new sum that differs from it
  // is shown in red.
  uint32_t LastShownSum() const { return last_shown_sum_; }
  // Records `sum` as shown; true when it differs from the one shown before.
  bool TakeShownSum(uint32_t sum);
  // A new editor starts with nothing shown (sum 0).
  void ResetShownSum() { last_shown_sum_ = 0; }

  // Told whenever fuses changed (a device read), so the editor redraws.
  void SetChangeHandler(std::function<void()> handler) { change_handler_ = std::move(handler); }
  void NotifyChanged() const {
    if (change_handler_) change_handler_();
  }

 private:
  // The map's one rule for what a byte means as a fuse.
  static uint8_t AsFuse(uint8_t value) { return value != 0 ? 1 : 0; }

  std::vector<uint8_t> bytes_;
  uint32_t fuse_count_ = 0;
  uint32_t last_shown_sum_ = 0;
  std::function<void()> change_handler_;
};

}  // namespace quenlet
