#include "app/logo_file.h"

#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"

namespace quenlet {

std::optional<std::string> RestoreLogoBitmap(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLogoMaxSize) return std::nullopt;
  std::optional<std::string> stored = ReadWholeFile(path);
  if (!stored || stored->size() < kLogoHeaderSize) return std::nullopt;
  const size_t body = stored->size() - kLogoHeaderSize;
  return stored->substr(body) + stored->substr(0, body);
}

}  // namespace quenlet
