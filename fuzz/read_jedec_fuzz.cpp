// The JEDEC reader on arbitrary text. The first two bytes choose the device
// (1 to 4096 fuses, 1 to 16 columns); the rest is the file. Whatever the
// reader accepts holds exactly the device's fuses, each 0 or 1, and comes
// back unchanged through our writer; whatever it refuses hands out nothing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "buffer/fuse_map.h"
#include "buffer/jedec_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  if (size < 2) return 0;
  const uint64_t count = 1 + (data[0] | uint64_t{data[1] & 0x0Fu} << 8);
  const uint64_t columns = 1 + (data[1] >> 4);
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

  const JedecRead read = ReadJedecText(text, count);
  if (read.status != JedecStatus::Read) {
    fuzz::Check(read.fuses.empty(), "a refused file hands out no fuses");
    return 0;
  }
  fuzz::Check(read.fuses.size() == count, "one value per fuse");
  for (uint8_t fuse : read.fuses) fuzz::Check(fuse <= 1, "fuses are 0 or 1");
  FuseMap map;
  fuzz::Check(map.Init(static_cast<int64_t>(count)) && map.StoreFuses(0, read.fuses),
              "the fuses fit a map");
  const JedecRead again = ReadJedecText(WriteJedecText(map, columns), count);
  fuzz::Check(again.status == JedecStatus::Read && again.fuses == read.fuses,
              "our own file reads back the same map");
  return 0;
}
