#pragma once
// The fuse map of a GAL/PAL fuse device: one byte per fuse, 0 or 1 (the '0'
// and '1' of a JEDEC fuse list), followed by 4096 bytes of 2 ("no fuse") so
// that a view window running past the last fuse shows empty positions. Fuse n
// lies in row n / columns, column n % columns. While a fuse device is selected
// the device operations program, verify and read it instead of the buffer.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace quenlet {

// The JEDEC fuse checksum of `fuses`: per group of 8 fuses from fuse 0, a
// byte whose bit k is 1 when fuse start + k holds 1 (fuses past the last
// count as 0); the 32-bit sum of those bytes.
uint32_t FuseCheckSum(std::span<const uint8_t> fuses);

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

  // The fuses only (FuseCount bytes).
  std::span<uint8_t> Fuses() { return {bytes_.data(), fuse_count_}; }
  std::span<const uint8_t> Fuses() const { return {bytes_.data(), fuse_count_}; }
  // The whole block, tail included.
  std::span<const uint8_t> Block() const { return bytes_; }

  // Fuse n, or kNoFuse past the last fuse.
  uint8_t Fuse(uint64_t n) const { return n < fuse_count_ ? bytes_[n] : kNoFuse; }
  // Sets fuse n to 0 or 1 (any non-zero value is 1); false outside the map.
  bool SetFuse(uint64_t n, uint8_t value);

  // The JEDEC fuse checksum of the fuses (FuseCheckSum).
  uint32_t CheckSum() const { return FuseCheckSum(Fuses()); }

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
  std::vector<uint8_t> bytes_;
  uint32_t fuse_count_ = 0;
  uint32_t last_shown_sum_ = 0;
  std::function<void()> change_handler_;
};

}  // namespace quenlet
