#pragma once
// The logo files (Temp0.cue for the main window, Temp1.cue for the splash)
// are Windows bitmap files stored with their first 54 bytes (the file and
// information headers) moved to the end. The bitmap is rebuilt in memory;
// nothing is written beside the logo file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quenlet {

inline constexpr size_t kLogoHeaderSize = 54;
// No logo is larger: a bigger file is not read at all, so that a stray file
// in the logo's place cannot take the start-up's memory.
inline constexpr uint64_t kLogoMaxSize = 16ull * 1024 * 1024;

// The bitmap's bytes in their order: the last 54 bytes first, then the rest.
// nullopt for a file that is missing, unreadable, shorter than the header or
// larger than kLogoMaxSize.
std::optional<std::string> RestoreLogoBitmap(const std::string& path);
// The same for a logo file's bytes `stored`.
std::optional<std::string> RestoreLogoBytes(std::string_view stored);

}  // namespace quenlet
