#pragma once
// The chip in the simulated unit's socket: a main area and an optional second
// area of byte-wide or word-wide cells, erased value 0xFF. Programming only
// clears bits, so a cell that would need a 0 to become 1 keeps its value and
// the write fails. Besides the cells: protection, four ID codes, the contacts
// of the 48 socket pins and a 256-byte option block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quenlet {

enum class ChipArea : uint8_t { Main, Second };

class VirtualChip {
 public:
  // The largest area the simulator keeps, in bytes (1 Gbit).
  static constexpr uint64_t kMaxAreaBytes = 128ull * 1024 * 1024;

  VirtualChip();

  // Data width: 1 byte per address (byte-wide) or 2 (word-wide, low byte first).
  // The sizes in addresses stay; the areas grow or shrink in bytes.
  void SetWordWide(bool word_wide);
  bool word_wide() const { return unit_bytes_ == 2; }
  unsigned unit_bytes() const { return unit_bytes_; }

  // Sizes in addresses (last address + 1; 0 = no second area). Cells both
  // sizes share keep their value, new cells are erased. Sizes beyond
  // kMaxAreaBytes leave the chip unusable (supported() false) until a size
  // that fits is set.
  void SetExtents(uint64_t main_addresses, uint64_t second_addresses);
  bool supported() const { return supported_; }
  size_t bytes(ChipArea area) const { return cells(area).size(); }

  // A fresh chip of the present geometry: every cell erased, not protected,
  // option block erased, no stuck cell. ID codes and contacts stay.
  void InsertBlank();

  // Chip erase: every cell and the option block erased, protection removed.
  void Erase();
  // Byte offset of the first cell of `area` that is not erased, if any.
  std::optional<size_t> FirstNotErased(ChipArea area) const;
  // Programs `count` bytes from byte `offset` (bytes beyond the area are
  // ignored). Returns the byte offset of the first cell that does not hold
  // its data afterwards, if any.
  std::optional<size_t> Program(ChipArea area, size_t offset, const uint8_t* data, size_t count);
  // Copies `count` bytes from byte `offset`; bytes beyond the area read 0xFF.
  void Read(ChipArea area, size_t offset, uint8_t* out, size_t count) const;
  // Byte offset of the first cell that differs from `data` (compared over
  // the area's whole size), if any.
  std::optional<size_t> FirstDifference(ChipArea area, const uint8_t* data) const;

  const std::vector<uint8_t>& cells(ChipArea area) const {
    return area == ChipArea::Main ? main_ : second_;
  }
  // Direct access for tests that lay out a chip.
  std::vector<uint8_t>& mutable_cells(ChipArea area) {
    return area == ChipArea::Main ? main_ : second_;
  }

  // Fault: the byte at `offset` of `area` never changes when programmed.
  void SetStuckCell(ChipArea area, size_t offset) { stuck_ = Stuck{area, offset}; }
  void ClearStuckCell() { stuck_.reset(); }

  bool is_protected() const { return protected_; }
  void set_protected(bool on) { protected_ = on; }

  // Manufacturer, device, extended 1 and extended 2 code.
  const std::array<uint8_t, 4>& id_codes() const { return id_codes_; }
  void set_id_codes(const std::array<uint8_t, 4>& codes) { id_codes_ = codes; }

  // Socket pins 1..48 that touch the chip.
  bool contact(int pin) const { return pin >= 1 && pin <= 48 && contacts_[pin - 1]; }
  void set_contact(int pin, bool on) {
    if (pin >= 1 && pin <= 48) contacts_[pin - 1] = on;
  }
  void set_contacts(const std::array<uint8_t, 48>& pins) {
    for (size_t i = 0; i < pins.size(); ++i) contacts_[i] = pins[i] != 0;
  }
  // The scan's second indication (status bytes 8-9): 0 when only the
  // expected pins answer.
  uint16_t stray_indication() const { return stray_indication_; }
  void set_stray_indication(uint16_t value) { stray_indication_ = value; }

  std::array<uint8_t, 256>& options() { return options_; }
  const std::array<uint8_t, 256>& options() const { return options_; }

 private:
  struct Stuck {
    ChipArea area;
    size_t offset;
  };

  unsigned unit_bytes_ = 1;
  uint64_t main_addresses_ = 0;
  uint64_t second_addresses_ = 0;
  bool supported_ = true;
  std::vector<uint8_t> main_;
  std::vector<uint8_t> second_;
  bool protected_ = false;
  std::array<uint8_t, 4> id_codes_{};
  std::array<bool, 48> contacts_{};
  uint16_t stray_indication_ = 0;
  std::array<uint8_t, 256> options_{};
  std::optional<Stuck> stuck_;
};

}  // namespace quenlet
