#include "app/logo_file.h"

#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"

namespace quenlet {

std::optional<std::string> RestoreLogoBitmap(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLogoMaxSize) return std::nullopt;
  const std::optional<std::string> stored = ReadWholeFile(path);
  if (!stored) return std::nullopt;
  return RestoreLogoBytes(*stored);
}

std::optional<std::string> RestoreLogoBytes(std::string_view stored) {
  if (stored.size() < kLogoHeaderSize || stored.size() > kLogoMaxSize) return std::nullopt;
  const size_t body = stored.size() - kLogoHeaderSize;
  std::string bitmap(stored.substr(body));
  bitmap += stored.substr(0, body);
  return bitmap;
}

}  // namespace quenlet
