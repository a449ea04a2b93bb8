#pragma once
// MS-DOS .exe files load without their header: a fixed 512 bytes, whatever
// the header itself says. .com files load as they are.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quenlet {

inline constexpr size_t kDosExeHeaderSize = 0x200;

// The bytes after the header, or nullopt when the range is shorter than the
// header ("Format Error !").
std::optional<std::span<const uint8_t>> DosExeImage(std::span<const uint8_t> range);

}  // namespace quenlet
