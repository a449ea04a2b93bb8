#pragma once
// A fuse map holding the given values (stored by the map's own rule), for
// tests and benchmarks that start from a list of fuses.
#include <cstdint>
#include <memory>
#include <span>

#include "buffer/fuse_map.h"

namespace quenlet::testing {

inline std::unique_ptr<FuseMap> FuseMapOf(std::span<const uint8_t> fuses) {
  auto map = std::make_unique<FuseMap>();
  if (map->Init(static_cast<int64_t>(fuses.size()))) map->StoreFuses(0, fuses);
  return map;
}

}  // namespace quenlet::testing
