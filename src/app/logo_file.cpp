#include "app/logo_file.h"

#include "platform/atomic_file.h"

namespace quenlet {

std::optional<std::string> RestoreLogoBitmap(const std::string& path) {
  std::optional<std::string> stored = ReadWholeFile(path);
  if (!stored || stored->size() < kLogoHeaderSize) return std::nullopt;
  const size_t body = stored->size() - kLogoHeaderSize;
  return stored->substr(body) + stored->substr(0, body);
}

}  // namespace quenlet
