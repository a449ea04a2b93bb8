#include "sim/virtual_chip.h"

#include <algorithm>
#include <cstring>

namespace quenlet {

VirtualChip::VirtualChip() {
  options_.fill(0xFF);
}

void VirtualChip::SetWordWide(bool word_wide) {
  unit_bytes_ = word_wide ? 2 : 1;
  SetExtents(main_addresses_, second_addresses_);
}

void VirtualChip::SetExtents(uint64_t main_addresses, uint64_t second_addresses) {
  main_addresses_ = main_addresses;
  second_addresses_ = second_addresses;
  const uint64_t main_bytes = main_addresses * unit_bytes_;
  const uint64_t second_bytes = second_addresses * unit_bytes_;
  if (main_bytes > kMaxAreaBytes || second_bytes > kMaxAreaBytes) {
    supported_ = false;
    return;
  }
  supported_ = true;
  if (main_.size() != main_bytes) main_.resize(main_bytes, 0xFF);
  if (second_.size() != second_bytes) second_.resize(second_bytes, 0xFF);
}

void VirtualChip::InsertBlank() {
  std::fill(main_.begin(), main_.end(), 0xFF);
  std::fill(second_.begin(), second_.end(), 0xFF);
  options_.fill(0xFF);
  protected_ = false;
  stuck_.reset();
}

void VirtualChip::Erase() {
  std::fill(main_.begin(), main_.end(), 0xFF);
  std::fill(second_.begin(), second_.end(), 0xFF);
  options_.fill(0xFF);
  protected_ = false;
}

std::optional<size_t> VirtualChip::FirstNotErased(ChipArea area) const {
  const std::vector<uint8_t>& c = cells(area);
  auto it = std::find_if(c.begin(), c.end(), [](uint8_t v) { return v != 0xFF; });
  if (it == c.end()) return std::nullopt;
  return static_cast<size_t>(it - c.begin());
}

std::optional<size_t> VirtualChip::Program(ChipArea area, size_t offset, const uint8_t* data,
                                           size_t count) {
  std::vector<uint8_t>& c = mutable_cells(area);
  if (offset >= c.size()) return std::nullopt;
  count = std::min(count, c.size() - offset);
  uint8_t* cell = c.data() + offset;

  const bool stuck_here =
      stuck_ && stuck_->area == area && stuck_->offset >= offset && stuck_->offset < offset + count;
  const uint8_t stuck_value = stuck_here ? c[stuck_->offset] : 0;
  // Programming can only clear bits.
  for (size_t i = 0; i < count; ++i) cell[i] &= data[i];
  if (stuck_here) c[stuck_->offset] = stuck_value;

  if (std::memcmp(cell, data, count) == 0) return std::nullopt;
  size_t i = 0;
  while (cell[i] == data[i]) ++i;
  return offset + i;
}

void VirtualChip::Read(ChipArea area, size_t offset, uint8_t* out, size_t count) const {
  const std::vector<uint8_t>& c = cells(area);
  size_t from_chip = offset < c.size() ? std::min(count, c.size() - offset) : 0;
  if (from_chip > 0) std::memcpy(out, c.data() + offset, from_chip);
  if (from_chip < count) std::memset(out + from_chip, 0xFF, count - from_chip);
}

std::optional<size_t> VirtualChip::FirstDifference(ChipArea area, const uint8_t* data) const {
  const std::vector<uint8_t>& c = cells(area);
  if (c.empty() || std::memcmp(c.data(), data, c.size()) == 0) return std::nullopt;
  size_t i = 0;
  while (c[i] == data[i]) ++i;
  return i;
}

}  // namespace quenlet
